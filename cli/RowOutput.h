#pragma once

#include "recognition/ParseAddress.h"

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

class FieldRows;
struct RecognitionContext;

// The names the CLI's JSON uses for a parse outcome: "ok", "empty", ...
QString StatusName(ParseStatus status);

// The members of a row object that hang only on the row and its field ("row",
// "field", "label"), encoded once for a catalogue: most of every answer.
class RowJsonMembers
{
public:
    explicit RowJsonMembers(const FieldRows &catalogue);

    std::string_view Row(int row) const { return m_rows[std::size_t(row)]; }
    // position: in the catalogue these were made for; -1: no field.
    std::string_view Field(int position) const;

private:
    std::vector<std::string> m_rows;
    std::vector<std::string> m_fields; // [0]: no field, then by position
};

// {"status", "text", "rows": sixteen rows, "hits": the context's definition hits}
// Compact, one line, no line break at the end.
QByteArray ParseResultJson(ParseStatus status, const QString &clipText, const FieldRows &rows,
                           const RecognitionContext &context);
// members: made for the catalogue of rows.
void AppendParseResultJson(std::string &out, const RowJsonMembers &members, ParseStatus status,
                           const QString &clipText, const FieldRows &rows,
                           const RecognitionContext &context);
// {"status": "error", "error": reason}
QByteArray ErrorJson(const QString &error);
void AppendErrorJson(std::string &out, const QString &error);

// A readable table of the sixteen rows and the definition hits.
QByteArray RowTable(const FieldRows &rows, const RecognitionContext &context);

// Exit code for a single parse: 0 ok, 1 otherwise.
int ExitCodeFor(ParseStatus status);
