#include "ParseAddress.h"

#include "CountryPrefixes.h"
#include "FieldAssignment.h"
#include "LineScorer.h"
#include "LineSplitter.h"
#include "ParseState.h"
#include "RecognitionDiagnostics.h"
#include "SeparatorDialog.h"
#include "TextOps.h"
#include "UserLabels.h"

#include "support/FieldRows.h"
#include "support/MessageTexts.h"
#include "support/Messages.h"

namespace {

ParseStatus parse(const QString &text, FieldRows &rows, QString &clipText, SeparatorDialog *dialog)
{
    rows.ResetAllRows();

    QString separator = UserSeparator;
    if (separator.isEmpty())
        separator = ChooseSeparator(text);
    if (separator.isEmpty()) {
        ShowMessage(MessageText::NoSeparator, MessageStyle::Exclamation);
        if (dialog != nullptr)
            dialog->Open();
        if (UserSeparator.isEmpty())
            return ParseStatus::NoSeparator;
        separator = UserSeparator;
    }

    LineList lines = SplitIntoLines(text, separator, clipText);
    ApplyUserDefinitions(lines);
    ApplyCountryPrefixes(lines);
    lines = ScoreLines(std::move(lines));
    AssignFields(lines, rows);
    return ParseStatus::Ok;
}

} // namespace

ParseStatus ParseAddress(const QString &text, FieldRows &rows, QString &clipText,
                         SeparatorDialog *dialog)
{
    clipText.clear();
    // A failure ends the parse silently; rows and text written so far stay.
    try {
        return parse(text, rows, clipText, dialog);
    } catch (...) {
        qCWarning(lcRecognition).noquote() << "parse aborted:" << CaughtFailureReason();
        return ParseStatus::Aborted;
    }
}

ParseStatus CaptureText(const QString &clipboardText, bool startingUp, FieldRows &rows,
                        QString &clipText, SeparatorDialog *dialog)
{
    try {
        clipText.clear();
        ClipboardText = WithCrLfLineBreaks(clipboardText);
        QString working = ClipboardText;
        working.replace(QStringLiteral(" . \r\n"), QStringLiteral("\r\n"));
        if (TrimBlanks(working).isEmpty()) {
            if (!startingUp)
                ShowMessage(MessageText::ClipboardEmpty, MessageStyle::Information);
            return ParseStatus::Empty;
        }
        return ParseAddress(working, rows, clipText, dialog);
    } catch (...) {
        qCWarning(lcRecognition).noquote() << "capture aborted:" << CaughtFailureReason();
        return ParseStatus::Aborted;
    }
}
