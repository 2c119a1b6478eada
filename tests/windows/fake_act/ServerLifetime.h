#pragma once

#include <windows.h>

// What keeps a server running: every automation object (control objects included) and every
// LockServer lock. The DLL only asks for the count; the local server stops when it drops to 0.
void serverAddRef();
void serverRelease();
LONG serverReferences();

// Any call from a client; the local server uses the time of the last one to notice when
// its clients are gone.
void noteServerActivity();
// Milliseconds since the last activity (or since the program started).
ULONGLONG msSinceServerActivity();

// Called, on the releasing thread, each time the count drops to zero.
void onServerIdle(void (*handler)());

// Once set, class factories refuse new objects (CO_E_SERVER_STOPPING).
void refuseNewObjects();
bool refusesNewObjects();
