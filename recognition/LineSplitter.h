#pragma once

#include "CapturedLine.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <functional>

// The first candidate separator that occurs in text (carriage return + line
// feed, line feed, tab, ";", "#"), or an empty string when none does.
QString ChooseSeparator(QStringView text);

// Which lines SplitIntoLines builds into the list: the first `first`, and after
// them those whose text alsoBuild accepts (none when it is empty). A details
// line changes the lines before it after alsoBuild has seen them, so in a text
// that may hold one every line is built.
struct LinesToBuild
{
    size_t first = SIZE_MAX;
    std::function<bool(QStringView)> alsoBuild;
};

// Cuts text into cleaned lines at separator and builds the line list; every
// kept line is appended to clipText followed by carriage return + line feed.
LineList SplitIntoLines(const QString &text, const QString &separator, QString &clipText,
                        const LinesToBuild &build = {});

// The separator dialog's preview of the captured text cut at candidate.
QString SeparatorPreview(const QString &clipboardText, const QString &candidate);
