#pragma once

#include <QString>

class FieldRows;
class SeparatorDialog;

enum class ParseStatus {
    Ok,
    Empty,       // blank text: nothing parsed, rows untouched
    NoSeparator, // no separator found and none chosen: rows cleared
    Aborted,     // a run-time failure ended the parse; what was done stays
};

// Clears the rows, cuts text into lines, recognises them and fills the rows.
// clipText receives the captured-text box content: every kept line followed by
// carriage return + line feed. dialog may be null (then no separator can be
// chosen). Never throws.
ParseStatus ParseAddress(const QString &text, FieldRows &rows, QString &clipText,
                         SeparatorDialog *dialog);

// What a capture does with the clipboard's text: keeps it in ClipboardText
// with CR LF line breaks, drops " . " before line breaks, reports a blank text (not while starting up)
// and parses the rest. Never throws.
ParseStatus CaptureText(const QString &clipboardText, bool startingUp, FieldRows &rows,
                        QString &clipText, SeparatorDialog *dialog);
