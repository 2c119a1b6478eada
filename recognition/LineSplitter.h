#pragma once

#include "clsZeile.h"

#include <QString>
#include <QStringView>

// The first candidate separator that occurs in text (carriage return + line
// feed, line feed, tab, ";", "#"), or an empty string when none does.
QString ChooseSeparator(QStringView text);

// Cuts text into cleaned lines at separator and builds the line list; every
// kept line is appended to clipText followed by carriage return + line feed.
LineList SplitIntoLines(const QString &text, const QString &separator, QString &clipText);

// The separator dialog's preview of the captured text cut at candidate.
QString SeparatorPreview(const QString &clipboardText, const QString &candidate);
