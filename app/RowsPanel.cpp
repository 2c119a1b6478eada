#include "RowsPanel.h"

#include "Twips.h"
#include "WheelNeedsFocus.h"

#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>

namespace {

// The field list's width where the window had room for it, in twips.
constexpr int FieldWidth = 2340;
constexpr int RowSpacing = 30;

} // namespace

RowsPanel::RowsPanel(QAbstractItemModel *catalogue, QWidget *parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("rowsPanel"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus); // Tab goes from the box straight on to the buttons

    auto *rows = new QWidget(this);
    const qreal dpi = rows->logicalDpiY();
    auto *grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(TwipsToPixels(RowSpacing, dpi));
    grid->setColumnStretch(0, 1);

    auto *wheelNeedsFocus = new WheelNeedsFocus(this);
    for (int row = 0; row < RowCount; ++row) {
        auto *value = new QLineEdit(rows);
        value->setObjectName(QStringLiteral("txtWert%1").arg(row));
        m_values[row] = value;

        // Editable, so that a name with blanks can be typed and a field taken
        // away; the binder never lets free text become a field.
        auto *field = new QComboBox(rows);
        field->setObjectName(QStringLiteral("txtField%1").arg(row));
        field->setModel(catalogue);
        field->setEditable(true);
        field->setInsertPolicy(QComboBox::NoInsert);
        field->setFocusPolicy(Qt::StrongFocus); // a wheel passing over takes no focus
        field->installEventFilter(wheelNeedsFocus);
        // Inline: the rest of the first matching name appears marked, and
        // leaving the list takes it.
        QCompleter *completer = field->completer();
        completer->setCompletionMode(QCompleter::InlineCompletion);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        field->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        field->setMinimumWidth(TwipsToPixels(FieldWidth, dpi));
        field->setMaxVisibleItems(20);
        // thousands of ACT! fields open fast
        if (auto *list = qobject_cast<QListView *>(field->view()))
            list->setUniformItemSizes(true);
        m_fields[row] = field;

        grid->addWidget(value, row, 0);
        grid->addWidget(field, row, 1);
    }
    grid->setRowStretch(RowCount, 1);
    setWidget(rows);
}

QSize RowsPanel::sizeHint() const
{
    // All rows, and room for the scroll bar should the window be lower.
    const QSize rows = widget()->sizeHint();
    return {rows.width() + verticalScrollBar()->sizeHint().width(), rows.height()};
}
