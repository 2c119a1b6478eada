#pragma once

#include <QString>

// Cut the value out of a telephone/fax/mobile, e-mail or web line.
QString CleanPhone(const QString &text);
QString CleanEMail(const QString &text);
QString CleanWebAddress(const QString &text);
