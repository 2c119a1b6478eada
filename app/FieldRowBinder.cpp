#include "FieldRowBinder.h"

#include "FieldCatalogueModel.h"

#include "support/FieldRows.h"

#include <QComboBox>
#include <QCompleter>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalBlocker>

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
            if (QCompleter *completer = field->completer()) {
                // The completer has put the picked name into the text by now.
                connect(completer, qOverload<const QString &>(&QCompleter::activated), this,
                        [this, row] { commitTyped(row); });
            }
            field->installEventFilter(this);
        }
        connect(m_values[row], &QLineEdit::textEdited, this,
                [this, row](const QString &text) { m_rows.SetRowValue(row, text); });
    }
    connect(&rows, &FieldRows::rowChanged, this, [this](int row) {
        // A selection refers to the catalogue as it is now; catch the lists up
        // first if the catalogue changed since they were filled.
        if (!m_catalogue.Refresh())
            showRow(row);
    });
    connect(&catalogue, &FieldCatalogueModel::refreshed, this, [this] {
        // A new catalogue drops the lists' texts; whatever was typed is gone.
        m_typing.fill(false);
        showAllRows();
    });
    showAllRows();
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
    const QString text = m_fields[row]->currentText();
    m_rows.SelectRowPosition(row, m_rows.PositionOfName(text, Qt::CaseInsensitive));
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
