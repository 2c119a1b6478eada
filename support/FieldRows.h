#pragma once

#include <QObject>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

// One entry of the field catalogue: the name shown in every row's list and the
// ACT! field number it stands for.
struct CatalogueEntry
{
    QString Name;
    qint32 FieldNumber = 0;
};

// What a row yields for writing: the chosen field's number and the value as typed.
struct RowContent
{
    qint32 FieldNumber = 0;
    QString Value;
};

// What one row holds, kept apart from the catalogue: the chosen entry by name
// and number (a later catalogue may sort it elsewhere) and the value.
struct RowSnapshot
{
    bool HasField = false;
    QString FieldName;
    qint32 FieldNumber = 0;
    QString Value;
    bool operator==(const RowSnapshot &) const = default;
};

// The sixteen field rows: one catalogue shared by all rows (so a list of
// thousands of fields is held and sorted once), and per row a selection into it
// and a value. Plain data: the window shows it, recognition fills it, contact
// writing reads it.
class FieldRows : public QObject
{
    Q_OBJECT
public:
    static constexpr int RowCount = 16;

    explicit FieldRows(QObject *parent = nullptr);

    // --- the catalogue, in sorted order (case-insensitive, German collation,
    // numbers by value, stable)
    void FillStandardCatalogue();
    void ClearAllLists();
    void AddEntryToAllRows(const QString &name, qint32 fieldNumber);
    // Takes over other's catalogue as it stands, sorted once for both; the rows
    // are cleared. Rows that recognise side by side each need their own.
    void CopyCatalogueFrom(const FieldRows &other);
    int EntryCount() const;
    const CatalogueEntry &EntryAt(int position) const;
    // Sorted position of the first entry carrying that number, or -1.
    int PositionOfField(qint32 fieldNumber) const;
    // Sorted position of the first entry with that name, or -1.
    int PositionOfName(QStringView name, Qt::CaseSensitivity cs = Qt::CaseSensitive) const;

    // --- the rows
    void SelectRowField(int row, qint32 fieldNumber);
    // Selects by sorted position, as a user picking from the list does; -1 clears.
    void SelectRowPosition(int row, int position);
    int SelectedPosition(int row) const;
    void ResetRow(int row);
    void ResetAllRows();
    void SetRowValue(int row, const QString &value);
    const QString &RowValue(int row) const;
    std::optional<RowContent> ReadRow(int row) const;

    // --- all rows at once, to bring them back after a refill
    using Snapshot = std::array<RowSnapshot, RowCount>;
    Snapshot TakeSnapshot() const;
    // Each row takes the entry of that name and number, else the first of that
    // number, else none.
    void RestoreSnapshot(const Snapshot &snapshot);

signals:
    void catalogueChanged();
    void rowChanged(int row);

private:
    void announce(int row);
    void ensureSorted() const;
    static bool validRow(int row) { return row >= 0 && row < RowCount; }

    // Entries in the order they were added; the sorted view is derived lazily,
    // so adding n entries costs one sort at the first read, not n.
    QVector<CatalogueEntry> m_entries;
    mutable QVector<int> m_sorted;   // sorted position -> index into m_entries
    mutable QVector<int> m_position; // index into m_entries -> sorted position
    mutable bool m_sortValid = true;

    struct Row
    {
        int entry = -1; // index into m_entries, -1 when no field is chosen
        QString value;
    };
    std::array<Row, RowCount> m_rows;
};
