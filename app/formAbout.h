#pragma once

#include <QDialog>

// The About window: what the program is, who makes it, and how to reach them.
// The links go to the desktop's mail program and web browser.
class formAbout : public QDialog
{
    Q_OBJECT
public:
    static const QString MailAddress;
    static const QString WebAddress;

    explicit formAbout(QWidget *owner);
};
