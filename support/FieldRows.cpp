#include "FieldRows.h"

#include "ActFields.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

FieldRows::FieldRows(QObject *parent) : QObject(parent) {}

void FieldRows::FillStandardCatalogue()
{
    for (const StandardField &field : StandardFields)
        m_entries.append({field.Name.toString(), field.Number});
    m_sortValid = false;
    emit catalogueChanged();
}

void FieldRows::ClearAllLists()
{
    m_entries.clear();
    m_sorted.clear();
    m_position.clear();
    m_sortValid = true;
    for (Row &row : m_rows)
        row.entry = -1;
    emit catalogueChanged();
}

void FieldRows::AddEntryToAllRows(const QString &name, qint32 fieldNumber)
{
    m_entries.append({name, fieldNumber});
    m_sortValid = false;
    emit catalogueChanged();
}

void FieldRows::CopyCatalogueFrom(const FieldRows &other)
{
    other.ensureSorted();
    m_entries = other.m_entries;
    m_sorted = other.m_sorted;
    m_position = other.m_position;
    m_sortValid = true;
    for (Row &row : m_rows)
        row = Row{};
    emit catalogueChanged();
}

int FieldRows::EntryCount() const
{
    return int(m_entries.size());
}

const CatalogueEntry &FieldRows::EntryAt(int position) const
{
    ensureSorted();
    return m_entries.at(m_sorted.at(position));
}

int FieldRows::PositionOfField(qint32 fieldNumber) const
{
    ensureSorted();
    for (int position = 0; position < m_sorted.size(); ++position) {
        if (m_entries.at(m_sorted.at(position)).FieldNumber == fieldNumber)
            return position;
    }
    return -1;
}

int FieldRows::PositionOfName(QStringView name, Qt::CaseSensitivity cs) const
{
    ensureSorted();
    for (int position = 0; position < m_sorted.size(); ++position) {
        const QString &candidate = m_entries.at(m_sorted.at(position)).Name;
        // Names equal but for case are equally long: most are passed over unread.
        if (candidate.size() == name.size() && name.compare(candidate, cs) == 0)
            return position;
    }
    return -1;
}

void FieldRows::ensureSorted() const
{
    if (m_sortValid)
        return;
    QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true); // "Benutzer 2" before "Benutzer 10"

    // One sort key per entry, so the sort compares keys instead of collating
    // thousands of strings again and again.
    const int count = int(m_entries.size());
    std::vector<QCollatorSortKey> keys;
    keys.reserve(count);
    for (const CatalogueEntry &entry : m_entries)
        keys.push_back(collator.sortKey(entry.Name));

    m_sorted.resize(count);
    for (int i = 0; i < count; ++i)
        m_sorted[i] = i;
    std::stable_sort(m_sorted.begin(), m_sorted.end(),
                     [&keys](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    m_position.resize(count);
    for (int position = 0; position < count; ++position)
        m_position[m_sorted[position]] = position;
    m_sortValid = true;
}

void FieldRows::SelectRowField(int row, qint32 fieldNumber)
{
    if (!validRow(row))
        return;
    const int position = PositionOfField(fieldNumber);
    if (position < 0)
        return; // no entry carries that number: the selection stays as it was
    m_rows[row].entry = m_sorted.at(position);
    announce(row);
}

void FieldRows::SelectRowPosition(int row, int position)
{
    if (!validRow(row))
        return;
    ensureSorted();
    m_rows[row].entry = (position >= 0 && position < m_sorted.size()) ? m_sorted.at(position) : -1;
    announce(row);
}

int FieldRows::SelectedPosition(int row) const
{
    if (!validRow(row) || m_rows[row].entry < 0)
        return -1;
    ensureSorted();
    return m_position.at(m_rows[row].entry);
}

void FieldRows::announce(int row)
{
    // A blocked signal still costs a trip into the signal machinery, and the
    // batch command line makes dozens of changes a block with no one listening.
    if (!signalsBlocked())
        emit rowChanged(row);
}

void FieldRows::ResetRow(int row)
{
    if (!validRow(row))
        return;
    m_rows[row] = Row{};
    announce(row);
}

void FieldRows::ResetAllRows()
{
    for (int row = 0; row < RowCount; ++row)
        ResetRow(row);
}

void FieldRows::SetRowValue(int row, const QString &value)
{
    if (!validRow(row))
        return;
    m_rows[row].value = value;
    announce(row);
}

const QString &FieldRows::RowValue(int row) const
{
    static const QString NoRow;
    return validRow(row) ? m_rows[row].value : NoRow;
}

std::optional<RowContent> FieldRows::ReadRow(int row) const
{
    if (!validRow(row) || m_rows[row].entry < 0)
        return std::nullopt;
    return RowContent{m_entries.at(m_rows[row].entry).FieldNumber, m_rows[row].value};
}

FieldRows::Snapshot FieldRows::TakeSnapshot() const
{
    Snapshot snapshot;
    for (int row = 0; row < RowCount; ++row) {
        RowSnapshot &taken = snapshot[row];
        taken.Value = m_rows[row].value;
        if (m_rows[row].entry >= 0) {
            const CatalogueEntry &entry = m_entries.at(m_rows[row].entry);
            taken.HasField = true;
            taken.FieldName = entry.Name;
            taken.FieldNumber = entry.FieldNumber;
        }
    }
    return snapshot;
}

void FieldRows::RestoreSnapshot(const Snapshot &snapshot)
{
    ensureSorted();
    for (int row = 0; row < RowCount; ++row) {
        const RowSnapshot &taken = snapshot[row];
        int position = -1;
        if (taken.HasField) {
            position = PositionOfName(taken.FieldName);
            if (position < 0 || EntryAt(position).FieldNumber != taken.FieldNumber)
                position = PositionOfField(taken.FieldNumber);
        }
        m_rows[row].entry = position >= 0 ? m_sorted.at(position) : -1;
        m_rows[row].value = taken.Value;
        announce(row);
    }
}
