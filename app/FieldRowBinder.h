#pragma once

#include "support/FieldRows.h"

#include <QObject>

#include <array>

class FieldCatalogueModel;
class QAction;
class QComboBox;
class QLineEdit;

// Keeps the sixteen row widgets and the rows model in step: a user's choice or
// edit goes into the model; every change of the model (recognition, a field
// load) is shown in the widgets. Text typed into a field list becomes a field
// only when it names an entry: at once for a complete name, and when the user
// leaves the list or presses Enter, where the first name it begins takes the
// row and text that begins none leaves the row without a field. Rows that
// will not be written as the user sees them are marked.
class FieldRowBinder : public QObject
{
    Q_OBJECT
public:
    static constexpr int RowCount = FieldRows::RowCount;

    FieldRowBinder(FieldRows &rows, FieldCatalogueModel &catalogue,
                   const std::array<QLineEdit *, RowCount> &values,
                   const std::array<QComboBox *, RowCount> &fields, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showRow(int row);
    void showAllRows();
    void fieldTyped(int row, const QString &text);
    void commitTyped(int row);
    int positionTakenBy(const QString &text) const;
    void showMarks();
    void widenPopups();

    FieldRows &m_rows;
    FieldCatalogueModel &m_catalogue;
    std::array<QLineEdit *, RowCount> m_values;
    std::array<QComboBox *, RowCount> m_fields;
    // The user is typing into that row's list: the model is not shown there
    // until the text is committed.
    std::array<bool, RowCount> m_typing{};
    // The mark in each value box, shown when the row has something to mark.
    std::array<QAction *, RowCount> m_marks{};
};
