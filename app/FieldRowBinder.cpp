#include "FieldRowBinder.h"

#include "FieldCatalogueModel.h"

#include "support/FieldRows.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

FieldRowBinder::FieldRowBinder(FieldRows &rows, FieldCatalogueModel &catalogue,
                               const std::array<QLineEdit *, RowCount> &values,
                               const std::array<QComboBox *, RowCount> &fields, QObject *parent)
    : QObject(parent), m_rows(rows), m_catalogue(catalogue), m_values(values), m_fields(fields)
{
    for (int row = 0; row < RowCount; ++row) {
        // activated comes from the user only (mouse, arrow keys, typing), so
        // showing the model's selection never feeds back into it.
        connect(m_fields[row], &QComboBox::activated, this,
                [this, row](int position) { m_rows.SelectRowPosition(row, position); });
        connect(m_values[row], &QLineEdit::textEdited, this,
                [this, row](const QString &text) { m_rows.SetRowValue(row, text); });
    }
    connect(&rows, &FieldRows::rowChanged, this, [this](int row) {
        // A selection refers to the catalogue as it is now; catch the lists up
        // first if the catalogue changed since they were filled.
        if (!m_catalogue.Refresh())
            showRow(row);
    });
    connect(&catalogue, &FieldCatalogueModel::refreshed, this, &FieldRowBinder::showAllRows);
    showAllRows();
}

void FieldRowBinder::showRow(int row)
{
    if (row < 0 || row >= RowCount)
        return;
    QComboBox *field = m_fields[row];
    const int position = m_rows.SelectedPosition(row);
    if (field->currentIndex() != position) {
        const QSignalBlocker blocker(field);
        field->setCurrentIndex(position);
    }
    QLineEdit *value = m_values[row];
    const QString text = m_rows.RowValue(row);
    if (value->text() != text) // keeps the cursor where the user types
        value->setText(text);
}

void FieldRowBinder::showAllRows()
{
    for (int row = 0; row < RowCount; ++row)
        showRow(row);
}
