#pragma once

#include "recognition/ParseAddress.h"

#include <QByteArray>
#include <QString>

#include <string>

class FieldRows;
struct RecognitionContext;

// The names the CLI's JSON uses for a parse outcome: "ok", "empty", ...
QString StatusName(ParseStatus status);

// {"status", "text", "rows": sixteen rows, "hits": the context's definition hits}
// Compact, one line, no line break at the end.
QByteArray ParseResultJson(ParseStatus status, const QString &clipText, const FieldRows &rows,
                           const RecognitionContext &context);
void AppendParseResultJson(std::string &out, ParseStatus status, const QString &clipText,
                           const FieldRows &rows, const RecognitionContext &context);
// {"status": "error", "error": reason}
QByteArray ErrorJson(const QString &error);
void AppendErrorJson(std::string &out, const QString &error);

// A readable table of the sixteen rows and the definition hits.
QByteArray RowTable(const FieldRows &rows, const RecognitionContext &context);

// Exit code for a single parse: 0 ok, 1 otherwise.
int ExitCodeFor(ParseStatus status);
