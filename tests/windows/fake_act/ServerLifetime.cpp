#include "ServerLifetime.h"

#include <atomic>

namespace {

LONG references = 0;
std::atomic<void (*)()> idleHandler = nullptr;
std::atomic<bool> stopping = false;
std::atomic<ULONGLONG> lastActivity = GetTickCount64();

} // namespace

void noteServerActivity()
{
    lastActivity = GetTickCount64();
}

ULONGLONG msSinceServerActivity()
{
    return GetTickCount64() - lastActivity.load();
}

void serverAddRef()
{
    noteServerActivity();
    InterlockedIncrement(&references);
}

void serverRelease()
{
    noteServerActivity();
    if (InterlockedDecrement(&references) != 0)
        return;
    if (const auto handler = idleHandler.load())
        handler();
}

LONG serverReferences()
{
    return InterlockedCompareExchange(&references, 0, 0);
}

void onServerIdle(void (*handler)())
{
    idleHandler = handler;
}

void refuseNewObjects()
{
    stopping = true;
}

bool refusesNewObjects()
{
    return stopping;
}
