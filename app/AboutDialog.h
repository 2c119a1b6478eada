#pragma once

#include <QDialog>

// The About window: what the program is, who makes it, and how to reach them.
// The links go to the desktop's mail program and web browser.
// Formerly formAbout.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    static const QString MailAddress;
    static const QString WebAddress;

    explicit AboutDialog(QWidget *owner);
};
