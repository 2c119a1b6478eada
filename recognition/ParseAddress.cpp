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

namespace {

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

    LineList lines = SplitIntoLines(text, separator, clipText);
    ApplyUserDefinitions(lines, context);
    ApplyCountryPrefixes(lines);
    lines = ScoreLines(std::move(lines));
    AssignFields(lines, rows, context.settings);
    return ParseStatus::Ok;
}

} // namespace

ParseStatus ParseAddress(RecognitionContext &context, const QString &text, FieldRows &rows,
                         QString &clipText, SeparatorDialog *dialog)
{
    clipText.clear();
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
        clipText.clear();
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
