#pragma once

#include <QString>

class FieldRows;
struct RecognitionContext;

// The improved recognizer: cuts text into lines (a text without line breaks at
// ",", ";", "·" and "|"), splits lines that hold several values, sorts each
// line by the rule tables, drops what is no part of an address and fills the
// rows in catalogue order. clipText receives the lines it looked at, each
// followed by CR LF. Each line's decision is logged under ordalis.recognition
// (debug).
void ParseImproved(RecognitionContext &context, const QString &text, FieldRows &rows,
                   QString &clipText);
