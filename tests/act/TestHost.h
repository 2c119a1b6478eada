#pragma once

#include "act/ActHost.h"

#include "support/Messages.h"

#include <QList>
#include <QString>
#include <QStringList>

class FieldRows;

// The window's part, played by the test: a clipboard it recognises from, a
// completion dialog that answers as scripted, and a record of what the ACT!
// code asked of the window.
class TestHost : public ActHost
{
public:
    explicit TestHost(FieldRows &rows) : m_rows(rows) {}

    void SetBusyPointer(bool busy) override;
    void SetTopMost(bool onTop) override;
    QString CapturedText() const override { return clipText; }
    void CaptureClipboard() override;
    void ShowCompletionDialog() override;
    void EndProgram() override { ++programEnds; }

    QString clipboard;
    QString clipText;
    quint8 completionAnswer = 2;

    int captures = 0;
    int programEnds = 0;
    QList<bool> completions; // LastWriteWasNew as each completion dialog saw it
    bool busy = false;
    QStringList events; // "busy", "idle", "not topmost", "completion"

private:
    FieldRows &m_rows;
};

// Every message shown, in order.
class MessageLog : public MessagePresenter
{
public:
    MessageLog() { SetMessagePresenter(this); }
    ~MessageLog() override { SetMessagePresenter(nullptr); }
    qint16 Present(const QString &title, const QString &text, qint16 style) override;

    struct Shown
    {
        QString text;
        qint16 style;
    };
    QList<Shown> shown;
    QStringList Texts() const;
};
