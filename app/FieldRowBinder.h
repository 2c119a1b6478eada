#pragma once

#include <QObject>

#include <array>

class FieldCatalogueModel;
class FieldRows;
class QComboBox;
class QLineEdit;

// Keeps the sixteen row widgets and the rows model in step: a user's choice or
// edit goes into the model; every change of the model (recognition, a field
// load) is shown in the widgets.
class FieldRowBinder : public QObject
{
    Q_OBJECT
public:
    static constexpr int RowCount = 16;

    FieldRowBinder(FieldRows &rows, FieldCatalogueModel &catalogue,
                   const std::array<QLineEdit *, RowCount> &values,
                   const std::array<QComboBox *, RowCount> &fields, QObject *parent = nullptr);

private:
    void showRow(int row);
    void showAllRows();

    FieldRows &m_rows;
    FieldCatalogueModel &m_catalogue;
    std::array<QLineEdit *, RowCount> m_values;
    std::array<QComboBox *, RowCount> m_fields;
};
