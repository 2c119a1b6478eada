#pragma once

#include <QLoggingCategory>
#include <QString>

// Warnings for failures the user is not told about, or not told why. Silent
// unless switched on: QT_LOGGING_RULES="ordalis.*=true".
Q_DECLARE_LOGGING_CATEGORY(lcSettings)

// What the failure being handled says: an exception's text (an ActError's is
// its reason), or "unknown failure". Only inside a catch block.
QString CaughtFailureReason();
