#include "RowMarks.h"

#include "support/FieldRows.h"

#include <QStringList>

using namespace Qt::StringLiterals;

RowMark MarkOfRow(const FieldRows &rows, int row)
{
    const std::optional<RowContent> content = rows.ReadRow(row);
    if (!content) {
        if (rows.RowValue(row).trimmed().isEmpty())
            return {};
        return {RowMark::Kind::NoField,
                u"Kein Feld gewählt – diese Zeile wird nicht gespeichert"_s};
    }
    QStringList others; // counted from 1, as the user reads the rows
    for (int other = 0; other < FieldRows::RowCount; ++other) {
        if (other == row || rows.RowValue(other).isEmpty())
            continue;
        const std::optional<RowContent> otherContent = rows.ReadRow(other);
        if (otherContent && otherContent->FieldNumber == content->FieldNumber)
            others.append(QString::number(other + 1));
    }
    if (others.isEmpty())
        return {};
    const QString last = others.takeLast();
    const QString where = others.isEmpty() ? last : others.join(u", "_s) + u" und "_s + last;
    const QString name = rows.EntryAt(rows.SelectedPosition(row)).Name;
    return {RowMark::Kind::SameFieldElsewhere,
            u"„%1“ steht auch in Zeile %2 – gespeichert wird der letzte Wert"_s.arg(name, where)};
}
