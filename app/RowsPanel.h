#pragma once

#include "support/FieldRows.h"

#include <QScrollArea>

#include <array>

class QAbstractItemModel;
class QComboBox;
class QLineEdit;

// The sixteen field rows on a grid, value left and field list right, in a
// pane that scrolls when the window is too low for all of them.
class RowsPanel : public QScrollArea
{
    Q_OBJECT
public:
    static constexpr int RowCount = FieldRows::RowCount;

    RowsPanel(QAbstractItemModel *catalogue, QWidget *parent = nullptr);

    const std::array<QLineEdit *, RowCount> &Values() const { return m_values; }
    const std::array<QComboBox *, RowCount> &Fields() const { return m_fields; }

    QSize sizeHint() const override;

private:
    std::array<QLineEdit *, RowCount> m_values{};
    std::array<QComboBox *, RowCount> m_fields{};
};
