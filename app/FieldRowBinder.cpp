#include "FieldRowBinder.h"

#include "FieldCatalogueModel.h"
#include "RowMarks.h"

#include "support/FieldRows.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QFocusEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>

FieldRowBinder::FieldRowBinder(FieldRows &rows, FieldCatalogueModel &catalogue,
                               const std::array<QLineEdit *, RowCount> &values,
                               const std::array<QComboBox *, RowCount> &fields, QObject *parent)
    : QObject(parent), m_rows(rows), m_catalogue(catalogue), m_values(values), m_fields(fields)
{
    for (int row = 0; row < RowCount; ++row) {
        QComboBox *field = m_fields[row];
        // activated comes from the user only (mouse, arrow keys, a completion
        // picked), so showing the model's selection never feeds back into it.
        connect(field, &QComboBox::activated, this, [this, row](int position) {
            m_typing[row] = false;
            m_rows.SelectRowPosition(row, position);
        });
        if (QLineEdit *edit = field->lineEdit()) {
            connect(edit, &QLineEdit::textEdited, this,
                    [this, row](const QString &text) { fieldTyped(row, text); });
            connect(edit, &QLineEdit::returnPressed, this, [this, row] { commitTyped(row); });
            field->installEventFilter(this);
        }
        m_marks[row] = m_values[row]->addAction(QIcon(), QLineEdit::TrailingPosition);
        m_marks[row]->setVisible(false);
        connect(m_values[row], &QLineEdit::textEdited, this,
                [this, row](const QString &text) { m_rows.SetRowValue(row, text); });
    }
    connect(&rows, &FieldRows::rowChanged, this, [this](int row) {
        // A selection refers to the catalogue as it is now; catch the lists up
        // first if the catalogue changed since they were filled.
        if (!m_catalogue.Refresh())
            showRow(row);
        showMarks();
    });
    connect(&catalogue, &FieldCatalogueModel::refreshed, this, [this] {
        // A new catalogue drops the lists' texts; whatever was typed is gone.
        m_typing.fill(false);
        showAllRows();
        showMarks();
        widenPopups();
    });
    showAllRows();
    widenPopups();
}

bool FieldRowBinder::eventFilter(QObject *watched, QEvent *event)
{
    // A popup (the completion, the drop-down) or another window takes the
    // focus only for a while: the typing goes on when the focus comes back.
    const auto leaves = [event] {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
    };
    if (event->type() == QEvent::FocusOut && leaves()) {
        const auto found = std::find(m_fields.begin(), m_fields.end(), watched);
        if (found != m_fields.end())
            commitTyped(int(found - m_fields.begin()));
    }
    return QObject::eventFilter(watched, event);
}

void FieldRowBinder::fieldTyped(int row, const QString &text)
{
    m_typing[row] = true;
    // A prefix writes nothing; a complete name is the row's field right away.
    const int position = m_rows.PositionOfName(text, Qt::CaseInsensitive);
    if (position >= 0 && position != m_rows.SelectedPosition(row))
        m_rows.SelectRowPosition(row, position);
}

void FieldRowBinder::commitTyped(int row)
{
    if (!m_typing[row])
        return;
    m_typing[row] = false;
    m_rows.SelectRowPosition(row, positionTakenBy(m_fields[row]->currentText()));
}

int FieldRowBinder::positionTakenBy(const QString &text) const
{
    if (text.isEmpty())
        return -1;
    const int exact = m_rows.PositionOfName(text, Qt::CaseInsensitive);
    if (exact >= 0)
        return exact;
    // The name the inline completion offered, should its rest have been cut.
    for (int position = 0; position < m_rows.EntryCount(); ++position) {
        if (m_rows.EntryAt(position).Name.startsWith(text, Qt::CaseInsensitive))
            return position;
    }
    return -1;
}

void FieldRowBinder::showRow(int row)
{
    if (row < 0 || row >= RowCount)
        return;
    QComboBox *field = m_fields[row];
    if (!m_typing[row]) {
        const int position = m_rows.SelectedPosition(row);
        const QSignalBlocker blocker(field);
        // The text first, and past the list: a list that changes its own text
        // filters its completion anew, thousands of entries for each row shown.
        // The text may also name the entry in other letters, or nothing at all.
        if (QLineEdit *edit = field->lineEdit()) {
            const QString name = position >= 0 ? field->itemText(position) : QString();
            if (edit->text() != name)
                edit->setText(name);
        }
        if (field->currentIndex() != position)
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

void FieldRowBinder::showMarks()
{
    for (int row = 0; row < RowCount; ++row) {
        const RowMark mark = MarkOfRow(m_rows, row);
        QAction *shown = m_marks[row];
        const bool marked = mark.What != RowMark::Kind::None;
        if (marked) {
            const QStyle::StandardPixmap icon = mark.What == RowMark::Kind::NoField
                                                    ? QStyle::SP_MessageBoxWarning
                                                    : QStyle::SP_MessageBoxInformation;
            shown->setIcon(m_values[row]->style()->standardIcon(icon));
            shown->setToolTip(mark.ToolTip);
        }
        if (shown->isVisible() != marked)
            shown->setVisible(marked);
        m_values[row]->setToolTip(mark.ToolTip);
        m_fields[row]->setToolTip(mark.ToolTip);
        // The field list takes the mark's colour as well.
        QPalette palette = QApplication::palette(m_fields[row]);
        if (mark.What == RowMark::Kind::NoField)
            palette.setColor(QPalette::Base, QColor(0xff, 0xd7, 0xd7));
        else if (mark.What == RowMark::Kind::SameFieldElsewhere)
            palette.setColor(QPalette::Base, QColor(0xff, 0xf0, 0xb3));
        if (m_fields[row]->palette() != palette)
            m_fields[row]->setPalette(palette);
    }
}

void FieldRowBinder::widenPopups()
{
    // Each name whole in the drop-down, however narrow the list is.
    if (m_fields[0] == nullptr)
        return;
    QAbstractItemView *view = m_fields[0]->view();
    const QFontMetrics metrics(view->font());
    int widest = 0;
    for (int position = 0; position < m_rows.EntryCount(); ++position)
        widest = std::max(widest, metrics.horizontalAdvance(m_rows.EntryAt(position).Name));
    const int extra = 2 * view->frameWidth() + view->verticalScrollBar()->sizeHint().width() +
                      4 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 16;
    for (QComboBox *field : m_fields)
        field->view()->setMinimumWidth(widest + extra);
}
