#pragma once

#include "support/Outcome.h"

#include <QString>

class FieldRows;
struct RecognitionContext;

enum class ParseStatus {
    Ok,
    Empty,       // blank text: nothing parsed, rows untouched
    NoSeparator, // no separator found: rows cleared
    Aborted,     // a run-time failure ended the parse; what was done stays
};

struct ParseOutcome
{
    ParseStatus status = ParseStatus::Ok;
    // A blank clipboard (not at start-up) or no separator; nothing for the rest.
    Message message;
};

// Clears the rows, cuts text into lines, recognises them and fills the rows.
// clipText receives the captured-text box content: every kept line followed by
// carriage return + line feed. The context gives the separator and settings
// and takes the definition hits. When no separator is found, a program that
// can ask the user sets the chosen one as the context's UserSeparator and
// parses again. Never throws.
ParseOutcome ParseAddress(RecognitionContext &context, const QString &text, FieldRows &rows,
                          QString &clipText);

// What a capture does with the clipboard's text: keeps it in the context's
// ClipboardText with CR LF line breaks, drops " . " before line breaks, reports
// a blank text (not while starting up) and parses the rest. Never throws.
ParseOutcome CaptureText(RecognitionContext &context, const QString &clipboardText, bool startingUp,
                         FieldRows &rows, QString &clipText);
