#pragma once

#include <QString>

class FieldRows;
class SeparatorPrompt;
struct RecognitionContext;

enum class ParseStatus {
    Ok,
    Empty,       // blank text: nothing parsed, rows untouched
    NoSeparator, // no separator found and none chosen: rows cleared
    Aborted,     // a run-time failure ended the parse; what was done stays
};

// Clears the rows, cuts text into lines, recognises them and fills the rows.
// clipText receives the captured-text box content: every kept line followed by
// carriage return + line feed. The context gives the separator and settings
// and takes a separator chosen in the dialog and the definition hits. dialog
// may be null (then no separator can be chosen). Never throws.
ParseStatus ParseAddress(RecognitionContext &context, const QString &text, FieldRows &rows,
                         QString &clipText, SeparatorPrompt *dialog);

// What a capture does with the clipboard's text: keeps it in the context's
// ClipboardText with CR LF line breaks, drops " . " before line breaks, reports
// a blank text (not while starting up) and parses the rest. Never throws.
ParseStatus CaptureText(RecognitionContext &context, const QString &clipboardText, bool startingUp,
                        FieldRows &rows, QString &clipText, SeparatorPrompt *dialog);
