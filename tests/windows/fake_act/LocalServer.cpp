// fakeact_server.exe: the same objects as fakeact.dll, served out of process.
// Usage: fakeact_server /RegServer | /UnregServer | /Embedding (COM starts it so); "-" works
// for "/", case does not matter.

#include "ClassFactory.h"
#include "DispatchBase.h"
#include "Registration.h"
#include "ServedClasses.h"
#include "ServerLifetime.h"

#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Nobody came: COM started us for a client that gave up, or someone started us by hand.
constexpr ULONGLONG unusedLifetimeMs = 30000;
// Clients that end without releasing (a crash, a leak) leave their objects here, and Wine
// never collects them; a server that long without a call has no clients left.
constexpr ULONGLONG orphanedLifetimeMs = 60000;
constexpr UINT lifetimeCheckMs = 1000;

bool clientsGone()
{
    const ULONGLONG quiet = msSinceServerActivity();
    return quiet >= (serverReferences() == 0 ? unusedLifetimeMs : orphanedLifetimeMs);
}

DWORD mainThread = 0;
std::vector<DWORD> registrations;

bool isOption(const char *argument, const char *name)
{
    return (argument[0] == '/' || argument[0] == '-') && _stricmp(argument + 1, name) == 0;
}

void revokeClassObjects()
{
    for (const DWORD cookie : registrations)
        CoRevokeClassObject(cookie);
    registrations.clear();
}

// The last object or lock is gone. Revoking before the releasing call returns means a client
// that creates again right after gets a new server, not this one on its way out.
void stop()
{
    refuseNewObjects();
    if (GetCurrentThreadId() == mainThread) {
        revokeClassObjects();
        PostQuitMessage(0);
    } else {
        PostThreadMessageW(mainThread, WM_QUIT, 0, 0);
    }
}

bool registerClassObjects()
{
    for (const auto &served : servedClasses()) {
        auto *factory = new ClassFactory(served);
        DWORD cookie = 0;
        const HRESULT hr = CoRegisterClassObject(served.clsid, factory, CLSCTX_LOCAL_SERVER,
                                                 REGCLS_MULTIPLEUSE, &cookie);
        factory->Release(); // COM holds it while registered
        if (FAILED(hr)) {
            std::fprintf(stderr, "fakeact_server: cannot register class objects (%08lx)\n",
                         static_cast<unsigned long>(hr));
            return false;
        }
        registrations.push_back(cookie);
    }
    return true;
}

int serve()
{
    mainThread = GetCurrentThreadId();
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    MSG message;
    // The queue exists before anything may post to it.
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    onServerIdle(stop);
    fillInFailuresAtOnce();
    int status = 0;
    if (registerClassObjects()) {
        const UINT_PTR timer = SetTimer(nullptr, 0, lifetimeCheckMs, nullptr);
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (message.message == WM_TIMER && !message.hwnd && message.wParam == timer) {
                if (clientsGone())
                    break;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        KillTimer(nullptr, timer);
    } else {
        status = 1;
    }
    refuseNewObjects();
    revokeClassObjects();
    onServerIdle(nullptr);
    CoUninitialize();
    return status;
}

int reportRegistration(HRESULT hr, const char *what)
{
    if (SUCCEEDED(hr))
        return 0;
    std::fprintf(stderr, "fakeact_server: %s failed (%08lx)\n", what,
                 static_cast<unsigned long>(hr));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    const char *option = argc == 2 ? argv[1] : "";
    if (isOption(option, "RegServer"))
        return reportRegistration(registerServer(ServerKind::Local, modulePath(nullptr)),
                                  "registration");
    if (isOption(option, "UnregServer"))
        return reportRegistration(unregisterServer(), "unregistration");
    if (isOption(option, "Embedding"))
        return serve();
    std::fprintf(stderr, "usage: fakeact_server /RegServer | /UnregServer | /Embedding\n");
    return 2;
}
