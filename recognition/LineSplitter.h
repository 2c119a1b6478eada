#pragma once

#include "clsZeile.h"

#include <QString>
#include <QStringView>

#include <cstdint>

// The first candidate separator that occurs in text (carriage return + line
// feed, line feed, tab, ";", "#"), or an empty string when none does.
QString ChooseSeparator(QStringView text);

// Cuts text into cleaned lines at separator and builds the line list; every
// kept line is appended to clipText followed by carriage return + line feed.
// Only the first linesWanted lines of the list are built.
LineList SplitIntoLines(const QString &text, const QString &separator, QString &clipText,
                        size_t linesWanted = SIZE_MAX);

// The separator dialog's preview of the captured text cut at candidate.
QString SeparatorPreview(const QString &clipboardText, const QString &candidate);
