#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The separator dialog: the user marks one character of the captured text
// (ClipboardText), sees the text cut at it, and accepts it. Closing it any
// other way accepts nothing.
// Formerly formTrenner.
class SeparatorDialog : public QDialog
{
    Q_OBJECT
public:
    SeparatorDialog(QWidget *owner, const QString &ClipboardText);

    // The accepted separator; empty until one is accepted.
    QString UserSeparator() const { return m_accepted; }

private:
    void markSeparatorClicked();
    void discardSeparatorClicked();
    void continueClicked();
    void showText(const QString &text);
    void setSeparator(const QString &separator);
    void separatorTextEdited(const QString &shown);

    QLabel *Label1;
    QPlainTextEdit *txtClipText;
    QLabel *Label2;
    QLineEdit *txtTrenner;
    QPushButton *cmdTrennerNeu;
    QPushButton *cmdTrennerVerwerfen;
    QPushButton *cmdWeiter;
    QString m_clipboardText;
    QString m_shown; // the text as put into txtClipText, line breaks included
    QString m_accepted;
};
