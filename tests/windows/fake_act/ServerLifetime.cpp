#include "ServerLifetime.h"

#include <atomic>

namespace {

LONG references = 0;
std::atomic<void (*)()> idleHandler = nullptr;
std::atomic<bool> stopping = false;

} // namespace

void serverAddRef()
{
    InterlockedIncrement(&references);
}

void serverRelease()
{
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
