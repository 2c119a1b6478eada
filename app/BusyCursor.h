#pragma once

#include <QCursor>
#include <QList>

// The hourglass for the length of a scope: set at once, taken back however the
// scope is left (return, throw). Scopes nest.
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

    // The normal pointer while a message box or dialog waits for the user in
    // the middle of busy work; the busy pointer again after it.
    class Pause
    {
    public:
        Pause();
        ~Pause();
        Pause(const Pause &) = delete;
        Pause &operator=(const Pause &) = delete;

    private:
        QList<QCursor> m_held; // top of the stack first
    };
};
