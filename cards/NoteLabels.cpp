#include "NoteLabels.h"

#include "support/ActFields.h"

using namespace Qt::StringLiterals;

namespace {

const QString LabelSeparator = u": "_s;
const QString LineBreak = u"\r\n"_s;

QString numberedLabel(qint32 number)
{
    return u"Feld %1"_s.arg(number);
}

} // namespace

bool HasCardProperty(qint32 number)
{
    return !StandardFieldName(number).isEmpty();
}

NoteLabels::NoteLabels(const FieldCatalogue &catalogue)
{
    QHash<QString, int> uses;
    for (const CatalogueField &field : catalogue)
        ++uses[field.Label];
    for (const CatalogueField &field : catalogue) {
        if (m_labels.contains(field.Number))
            continue;
        QString label = field.Label.trimmed();
        if (label.isEmpty())
            label = numberedLabel(field.Number);
        else if (uses.value(field.Label) > 1)
            label = u"%1 (%2)"_s.arg(label).arg(field.Number);
        m_labels.insert(field.Number, label);
        m_numbers.insert(label, field.Number);
    }
}

QString NoteLabels::LabelOf(qint32 number) const
{
    return m_labels.value(number, numberedLabel(number));
}

std::optional<qint32> NoteLabels::NumberOf(const QString &label) const
{
    const auto found = m_numbers.constFind(label);
    if (found != m_numbers.cend())
        return *found;
    // A field the catalogue did not know when the card was written.
    if (label.startsWith(u"Feld "_s)) {
        bool ok = false;
        const qint32 number = label.mid(5).toInt(&ok);
        if (ok && !m_labels.contains(number))
            return number;
    }
    return std::nullopt;
}

QString NoteLabels::NoteText(const ContactValues &values) const
{
    QStringList lines;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!HasCardProperty(it.key()))
            lines.append(LabelOf(it.key()) + LabelSeparator + it.value());
    }
    return lines.join(LineBreak);
}

QStringList NoteLabels::ReadNote(const QString &note, ContactValues &values) const
{
    QStringList unmatched;
    std::optional<qint32> current;
    for (const QString &line : note.split(LineBreak)) {
        const qsizetype colon = line.indexOf(LabelSeparator);
        const std::optional<qint32> number =
            colon > 0 ? NumberOf(line.left(colon)) : std::optional<qint32>();
        if (number && !HasCardProperty(*number)) {
            current = number;
            values.insert(*number, line.mid(colon + LabelSeparator.size()));
        } else if (current) {
            values[*current] += LineBreak + line;
        } else {
            unmatched.append(line);
        }
    }
    return unmatched;
}
