#pragma once

#include "support/Messages.h"

struct Message;

// Shows a message and returns the button pressed (MessageAnswer).
class MessagePresenter
{
public:
    virtual ~MessagePresenter() = default;
    virtual qint16 Present(const QString &title, const QString &text, qint16 style) = 0;
};

// Puts a presenter in place of the window's message boxes for as long as it
// lives: tests answer with it, and it cannot outlive them.
class ScopedMessagePresenter
{
public:
    explicit ScopedMessagePresenter(MessagePresenter &presenter);
    ~ScopedMessagePresenter();
    ScopedMessagePresenter(const ScopedMessagePresenter &) = delete;
    ScopedMessagePresenter &operator=(const ScopedMessagePresenter &) = delete;

private:
    MessagePresenter *m_previous;
};

// The window's one way of showing a message: a message box titled "Ordalis",
// optionally logged first.
qint16 ShowMessage(const QString &text, qint16 style, bool log = false);

// What the core said about a step, if anything, with the reason below the text:
// the message box has room for it.
void ShowMessage(const Message &message);
