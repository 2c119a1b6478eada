#pragma once

#include <QObject>

class FieldRows;
class QAction;
class QPlainTextEdit;
class QWidget;

// "Als vCard kopieren" (Ctrl+Shift+C) and "Als vCard speichern …" (Ctrl+S):
// the rows as the user corrected them, as a contact card for any address
// book. The actions work anywhere in the window and sit in the context menu
// of the captured-text box, beside its own entries.
class CardActions : public QObject
{
    Q_OBJECT
public:
    CardActions(FieldRows &rows, QWidget &window, QPlainTextEdit &textBox);

    // The card on the clipboard as text/vcard and as plain text.
    void CopyCard();
    // The card into a .vcf the user picks in the standard file dialog.
    void SaveCard();

    QAction *CopyAction() const { return m_copy; }
    QAction *SaveAction() const { return m_save; }

private:
    void showTextBoxMenu(const QPoint &position);
    QByteArray card() const;
    QString suggestedFileName() const;

    FieldRows &m_rows;
    QWidget &m_window;
    QPlainTextEdit &m_textBox;
    QAction *m_copy = nullptr;
    QAction *m_save = nullptr;
};
