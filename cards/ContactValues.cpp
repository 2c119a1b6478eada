#include "ContactValues.h"

#include "support/FieldRows.h"

ContactValues ValuesFromRows(const FieldRows &rows, const QList<FieldValue> &hits)
{
    ContactValues values;
    for (int row = 0; row < FieldRows::RowCount; ++row) {
        const std::optional<RowContent> content = rows.ReadRow(row);
        if (content && !content->Value.isEmpty())
            values.insert(content->FieldNumber, content->Value);
    }
    for (const FieldValue &hit : hits) {
        if (hit.field != -1 && !hit.value.isEmpty())
            values.insert(hit.field, hit.value);
    }
    return values;
}

FieldCatalogue CatalogueFromRows(const FieldRows &rows)
{
    FieldCatalogue catalogue;
    catalogue.reserve(rows.EntryCount());
    for (int position = 0; position < rows.EntryCount(); ++position) {
        const CatalogueEntry &entry = rows.EntryAt(position);
        catalogue.append({entry.FieldNumber, entry.Name});
    }
    return catalogue;
}

void RowsFromValues(const ContactValues &values, FieldRows &rows)
{
    rows.ResetAllRows();
    int row = 0;
    for (auto value = values.cbegin(); value != values.cend() && row < FieldRows::RowCount;
         ++value, ++row) {
        rows.SelectRowField(row, value.key());
        rows.SetRowValue(row, value.value());
    }
}
