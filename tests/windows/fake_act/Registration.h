#pragma once

#include <windows.h>

#include <string>

enum class ServerKind { InProcess, Local };

// Writes the ProgID and CLSID keys of every served class under HKEY_CLASSES_ROOT for the server
// at `path`, and deletes the other kind's server key, so that COM reaches the objects only the
// way registered last.
HRESULT registerServer(ServerKind kind, const std::wstring &path);

// Removes the CLSID keys and those ProgID keys that still name our classes.
HRESULT unregisterServer();

// Full path of a loaded module (nullptr: the program), "" if it does not fit.
std::wstring modulePath(HMODULE module);
