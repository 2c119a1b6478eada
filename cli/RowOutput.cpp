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

QByteArray ParseResultJson(ParseStatus status, const QString &clipText, const FieldRows &rows,
                           const RecognitionContext &context)
{
    std::string out;
    AppendParseResultJson(out, status, clipText, rows, context);
    return QByteArray(out.data(), qsizetype(out.size()));
}

void AppendParseResultJson(std::string &out, ParseStatus status, const QString &clipText,
                           const FieldRows &rows, const RecognitionContext &context)
{
    JsonWriter json(out);
    json.BeginObject();
    json.Key("status").String(StatusName(status));
    json.Key("text").String(clipText);
    json.Key("rows").BeginArray();
    for (int row = 0; row < FieldRows::RowCount; ++row) {
        const int position = rows.SelectedPosition(row);
        json.BeginObject().Key("row").Number(row);
        if (position >= 0) {
            const CatalogueEntry &entry = rows.EntryAt(position);
            json.Key("field").Number(entry.FieldNumber).Key("label").String(entry.Name);
        } else {
            json.Key("field").Null().Key("label").Null();
        }
        json.Key("value").String(rows.RowValue(row)).EndObject();
    }
    json.EndArray();
    json.Key("hits").BeginArray();
    for (const clsZusatzDefs &hit : context.LoadedDefinitionHits())
        json.BeginObject().Key("id").Number(hit.ID).Key("value").String(hit.Wert).EndObject();
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
    const QList<clsZusatzDefs> found = context.LoadedDefinitionHits();
    if (!found.isEmpty()) {
        table += QStringLiteral("\nDefinitionen\n");
        for (const clsZusatzDefs &hit : found)
            table += QStringLiteral("%1  %2\n").arg(hit.ID, 5).arg(hit.Wert);
    }
    return table.toUtf8();
}

int ExitCodeFor(ParseStatus status)
{
    return status == ParseStatus::Ok ? 0 : 1;
}
