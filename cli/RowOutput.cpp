#include "RowOutput.h"

#include "recognition/RecognitionContext.h"

#include "support/FieldRows.h"

#include "JsonWriter.h"

namespace {

QString rowLabel(const FieldRows &rows, int row)
{
    const int position = rows.SelectedPosition(row);
    return position < 0 ? QString() : rows.EntryAt(position).Name;
}

} // namespace

QString StatusName(ParseStatus status)
{
    switch (status) {
    case ParseStatus::Ok:
        return QStringLiteral("ok");
    case ParseStatus::Empty:
        return QStringLiteral("empty");
    case ParseStatus::NoSeparator:
        return QStringLiteral("no-separator");
    case ParseStatus::Aborted:
        break;
    }
    return QStringLiteral("aborted");
}

RowJsonMembers::RowJsonMembers(const FieldRows &catalogue)
{
    for (int row = 0; row < FieldRows::RowCount; ++row)
        JsonWriter(m_rows.emplace_back()).Key("row").Number(row);
    JsonWriter(m_fields.emplace_back()).Key("field").Null().Key("label").Null();
    for (int position = 0; position < catalogue.EntryCount(); ++position) {
        const CatalogueEntry &entry = catalogue.EntryAt(position);
        JsonWriter(m_fields.emplace_back())
            .Key("field")
            .Number(entry.FieldNumber)
            .Key("label")
            .String(entry.Name);
    }
}

std::string_view RowJsonMembers::Field(int position) const
{
    Q_ASSERT(position + 1 < qsizetype(m_fields.size()));
    return position < 0 ? m_fields.front() : m_fields[std::size_t(position) + 1];
}

QByteArray ParseResultJson(ParseStatus status, const QString &clipText, const FieldRows &rows,
                           const RecognitionContext &context)
{
    std::string out;
    AppendParseResultJson(out, RowJsonMembers(rows), status, clipText, rows, context);
    return QByteArray(out.data(), qsizetype(out.size()));
}

void AppendParseResultJson(std::string &out, const RowJsonMembers &members, ParseStatus status,
                           const QString &clipText, const FieldRows &rows,
                           const RecognitionContext &context)
{
    JsonWriter json(out);
    json.BeginObject();
    json.Key("status").String(StatusName(status));
    json.Key("text").String(clipText);
    json.Key("rows").BeginArray();
    for (int row = 0; row < FieldRows::RowCount; ++row) {
        json.BeginObject()
            .Members(members.Row(row))
            .Members(members.Field(rows.SelectedPosition(row)))
            .Key("value")
            .String(rows.RowValue(row))
            .EndObject();
    }
    json.EndArray();
    json.Key("hits").BeginArray();
    for (const FieldValue &hit : context.LoadedDefinitionHits())
        json.BeginObject().Key("id").Number(hit.field).Key("value").String(hit.value).EndObject();
    json.EndArray();
    json.EndObject();
}

QByteArray ErrorJson(const QString &error)
{
    std::string out;
    AppendErrorJson(out, error);
    return QByteArray(out.data(), qsizetype(out.size()));
}

void AppendErrorJson(std::string &out, const QString &error)
{
    JsonWriter(out)
        .BeginObject()
        .Key("status")
        .String(u"error")
        .Key("error")
        .String(error)
        .EndObject();
}

QByteArray RowTable(const FieldRows &rows, const RecognitionContext &context)
{
    QString table = QStringLiteral("Zeile  Feld          Wert\n");
    for (int row = 0; row < FieldRows::RowCount; ++row) {
        QString line = QStringLiteral("%1  %2  %3")
                           .arg(row, 5)
                           .arg(rowLabel(rows, row), -12)
                           .arg(rows.RowValue(row));
        while (line.endsWith(u' '))
            line.chop(1);
        table += line + u'\n';
    }
    const QList<FieldValue> found = context.LoadedDefinitionHits();
    if (!found.isEmpty()) {
        table += QStringLiteral("\nDefinitionen\n");
        for (const FieldValue &hit : found)
            table += QStringLiteral("%1  %2\n").arg(hit.field, 5).arg(hit.value);
    }
    return table.toUtf8();
}

int ExitCodeFor(ParseStatus status)
{
    return status == ParseStatus::Ok ? 0 : 1;
}
