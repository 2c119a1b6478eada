#include "CsvWriter.h"

#include "NoteLabels.h"

#include "support/ActFields.h"

using namespace Qt::StringLiterals;

namespace {

QString quoted(const QString &field)
{
    static const QString needsQuotes = u",\"\r\n"_s;
    if (std::none_of(field.cbegin(), field.cend(), [](QChar c) { return needsQuotes.contains(c); }))
        return field;
    QString doubled = field;
    doubled.replace(u'"', u"\"\""_s);
    return u'"' + doubled + u'"';
}

QByteArray line(const QStringList &fields)
{
    QStringList quotedFields;
    for (const QString &field : fields)
        quotedFields.append(quoted(field));
    return (quotedFields.join(u',') + u"\r\n"_s).toUtf8();
}

} // namespace

namespace ContactCsv {

QByteArray Header()
{
    QStringList names;
    for (const StandardField &field : StandardFields)
        names.append(field.Name.toString());
    names.append(u"Notiz"_s);
    return "\xEF\xBB\xBF" + line(names);
}

QByteArray Line(const ContactValues &values, const NoteLabels &labels)
{
    QStringList fields;
    for (const StandardField &field : StandardFields)
        fields.append(values.value(field.Number));
    fields.append(labels.NoteText(values));
    return line(fields);
}

} // namespace ContactCsv
