#pragma once

#include <QList>
#include <QObject>

class FieldRows;
struct RecognitionContext;
class QAction;
class QPlainTextEdit;
class QWidget;

// "Als vCard kopieren" (Ctrl+Shift+C) and "Als vCard speichern …" (Ctrl+S):
// the rows as the user corrected them and the last parse's definition hits
// (what a write to ACT! would send), as a contact card for any address
// book. The actions work anywhere in the window and sit in the context menu
// of the captured-text box, beside its own entries.
class CardActions : public QObject
{
    Q_OBJECT
public:
    CardActions(const FieldRows &rows, const RecognitionContext &context, QWidget &window,
                QPlainTextEdit &textBox);

    // The card on the clipboard as text/vcard and as plain text.
    void CopyCard();
    // The card into a .vcf the user picks in the standard file dialog.
    void SaveCard();

    QAction *CopyAction() const { return m_copy; }
    QAction *SaveAction() const { return m_save; }
    // One more entry of the text box's context menu, after the card's.
    void AddToTextBoxMenu(QAction *action) { m_menuExtras.append(action); }

private:
    void showTextBoxMenu(const QPoint &position);
    // False, after saying so, when the rows hold nothing to put on a card.
    bool hasValues() const;
    QByteArray card() const;
    QString suggestedFileName() const;

    const FieldRows &m_rows;
    const RecognitionContext &m_context;
    QWidget &m_window;
    QPlainTextEdit &m_textBox;
    QAction *m_copy = nullptr;
    QAction *m_save = nullptr;
    QList<QAction *> m_menuExtras;
};
