#include "ParseAddress.h"

#include "CountryPrefixes.h"
#include "FieldAssignment.h"
#include "ImprovedParse.h"
#include "LineScorer.h"
#include "LineSplitter.h"
#include "RecognitionContext.h"
#include "RecognitionDiagnostics.h"
#include "TextOps.h"
#include "UserLabels.h"

#include "support/FieldRows.h"

#include <algorithm>

namespace {

// Only the first lines become rows, and the steps after the user definitions
// only ever insert a line right after the line it comes from, score a line with
// its neighbours and carry what they saw forward. So the line after the last row
// is the last one that can change a row, and a clipboard of a million lines is
// scored in a moment. The captured text still shows every line.
constexpr size_t LinesThatCount = FieldRows::RowCount + 1;

// The lines a parse builds: those that can become rows, and those a user's
// label can take out of the list before them.
LinesToBuild linesNeeded(const Settings &settings)
{
    const QList<FieldValue> &labels = settings.UserDefinitions;
    if (!settings.DefinitionsLoaded || labels.isEmpty())
        return {LinesThatCount, {}};
    // Each label takes one line at most, so the rows come from the first lines
    // and one more per label; further down only a line a label finds matters.
    const auto labelled = [&labels](QStringView line) {
        return std::any_of(labels.begin(), labels.end(), [line](const FieldValue &label) {
            return line.startsWith(label.value);
        });
    };
    return {LinesThatCount + size_t(labels.size()), labelled};
}

void dropLinesBeyondTheRows(LineList &lines)
{
    if (lines.size() > LinesThatCount)
        lines.resize(LinesThatCount);
}

ParseOutcome parse(RecognitionContext &context, const QString &text, FieldRows &rows,
                   QString &clipText)
{
    rows.ResetAllRows();
    if (context.recognizer == Recognizer::Improved) {
        ParseImproved(context, text, rows, clipText);
        return {};
    }

    QString separator = context.UserSeparator;
    if (separator.isEmpty())
        separator = ChooseSeparator(text);
    if (separator.isEmpty())
        return {ParseStatus::NoSeparator, {Message::Id::NoSeparator}};

    LineList lines = SplitIntoLines(text, separator, clipText, linesNeeded(context.settings));
    ApplyUserDefinitions(lines, context);
    dropLinesBeyondTheRows(lines);
    ApplyCountryPrefixes(lines);
    lines = ScoreLines(std::move(lines));
    AssignFields(lines, rows, context.settings);
    return {};
}

} // namespace

ParseOutcome ParseAddress(RecognitionContext &context, const QString &text, FieldRows &rows,
                          QString &clipText)
{
    // Emptied, not released: the next text of a batch reuses the memory.
    clipText.truncate(0);
    // A failure ends the parse silently; rows and text written so far stay.
    try {
        return parse(context, text, rows, clipText);
    } catch (...) {
        qCWarning(lcRecognition).noquote() << "parse aborted:" << CaughtFailureReason();
        return {ParseStatus::Aborted, {}};
    }
}

ParseOutcome CaptureText(RecognitionContext &context, const QString &clipboardText, bool startingUp,
                         FieldRows &rows, QString &clipText)
{
    try {
        clipText.truncate(0);
        context.ClipboardText = WithCrLfLineBreaks(clipboardText);
        QString working = context.ClipboardText;
        working.replace(QStringLiteral(" . \r\n"), QStringLiteral("\r\n"));
        if (TrimBlanks(working).isEmpty()) {
            if (startingUp)
                return {ParseStatus::Empty, {}};
            return {ParseStatus::Empty, {Message::Id::ClipboardEmpty}};
        }
        return ParseAddress(context, working, rows, clipText);
    } catch (...) {
        qCWarning(lcRecognition).noquote() << "capture aborted:" << CaughtFailureReason();
        return {ParseStatus::Aborted, {}};
    }
}
