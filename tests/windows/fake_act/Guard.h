#pragma once

#include <windows.h>

// A critical section for process-wide state; Lock holds it for a scope.
class Guard
{
public:
    Guard() { InitializeCriticalSection(&section_); }
    ~Guard() { DeleteCriticalSection(&section_); }
    Guard(const Guard &) = delete;
    Guard &operator=(const Guard &) = delete;

    class Lock
    {
    public:
        explicit Lock(Guard &guard) : guard_(guard) { EnterCriticalSection(&guard_.section_); }
        ~Lock() { LeaveCriticalSection(&guard_.section_); }
        Lock(const Lock &) = delete;
        Lock &operator=(const Lock &) = delete;

    private:
        Guard &guard_;
    };

private:
    CRITICAL_SECTION section_;
};
