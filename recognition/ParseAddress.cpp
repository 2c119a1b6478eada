#include "ParseAddress.h"

#include "CountryPrefixes.h"
#include "FieldAssignment.h"
#include "LineScorer.h"
#include "LineSplitter.h"
#include "RecognitionContext.h"
#include "RecognitionDiagnostics.h"
#include "SeparatorDialog.h"
#include "TextOps.h"
#include "UserLabels.h"

#include "support/FieldRows.h"
#include "support/MessageTexts.h"
#include "support/Messages.h"

#include <cstdint>

namespace {

// Only the first lines become rows, and the steps after the user definitions
// only ever insert a line right after the line it comes from, score a line with
// its neighbours and carry what they saw forward. So the line after the last row
// is the last one that can change a row, and a clipboard of a million lines is
// scored in a moment. The captured text still shows every line.
constexpr size_t LinesThatCount = FieldRows::RowCount + 1;

void dropLinesBeyondTheRows(LineList &lines)
{
    if (lines.size() > LinesThatCount)
        lines.resize(LinesThatCount);
}

ParseStatus parse(RecognitionContext &context, const QString &text, FieldRows &rows,
                  QString &clipText, SeparatorDialog *dialog)
{
    rows.ResetAllRows();

    QString separator = context.UserSeparator;
    if (separator.isEmpty())
        separator = ChooseSeparator(text);
    if (separator.isEmpty()) {
        ShowMessage(MessageText::NoSeparator, MessageStyle::Exclamation);
        if (dialog != nullptr)
            context.UserSeparator = dialog->Open();
        if (context.UserSeparator.isEmpty())
            return ParseStatus::NoSeparator;
        separator = context.UserSeparator;
    }

    // The user definitions look for their labels on every line; without them
    // no line beyond the rows is needed at all.
    const size_t linesWanted = context.settings.DefinitionsLoaded ? SIZE_MAX : LinesThatCount;
    LineList lines = SplitIntoLines(text, separator, clipText, linesWanted);
    ApplyUserDefinitions(lines, context);
    dropLinesBeyondTheRows(lines);
    ApplyCountryPrefixes(lines);
    lines = ScoreLines(std::move(lines));
    AssignFields(lines, rows, context.settings);
    return ParseStatus::Ok;
}

} // namespace

ParseStatus ParseAddress(RecognitionContext &context, const QString &text, FieldRows &rows,
                         QString &clipText, SeparatorDialog *dialog)
{
    // Emptied, not released: the next text of a batch reuses the memory.
    clipText.truncate(0);
    // A failure ends the parse silently; rows and text written so far stay.
    try {
        return parse(context, text, rows, clipText, dialog);
    } catch (...) {
        qCWarning(lcRecognition).noquote() << "parse aborted:" << CaughtFailureReason();
        return ParseStatus::Aborted;
    }
}

ParseStatus CaptureText(RecognitionContext &context, const QString &clipboardText, bool startingUp,
                        FieldRows &rows, QString &clipText, SeparatorDialog *dialog)
{
    try {
        clipText.truncate(0);
        context.ClipboardText = WithCrLfLineBreaks(clipboardText);
        QString working = context.ClipboardText;
        working.replace(QStringLiteral(" . \r\n"), QStringLiteral("\r\n"));
        if (TrimBlanks(working).isEmpty()) {
            if (!startingUp)
                ShowMessage(MessageText::ClipboardEmpty, MessageStyle::Information);
            return ParseStatus::Empty;
        }
        return ParseAddress(context, working, rows, clipText, dialog);
    } catch (...) {
        qCWarning(lcRecognition).noquote() << "capture aborted:" << CaughtFailureReason();
        return ParseStatus::Aborted;
    }
}
