// fakeact_server.exe: the same objects served out of process.
// Usage: fakeact_server /RegServer | /Embedding (COM starts it so).

#include "FakeAct.h"

#include <cstdio>
#include <vector>

namespace {

std::vector<DWORD> registrations;
DWORD mainThread = 0;

void RevokeClassObjects()
{
    for (const DWORD cookie : registrations)
        CoRevokeClassObject(cookie);
    registrations.clear();
}

// The last object is gone. Revoking before the releasing call returns means a client that
// creates again right after gets a new server, not this one on its way out.
void Stop()
{
    if (GetCurrentThreadId() != mainThread) {
        PostThreadMessageW(mainThread, WM_QUIT, 0, 0);
        return;
    }
    RevokeClassObjects();
    PostQuitMessage(0);
}

int Serve()
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    mainThread = GetCurrentThreadId();
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // the queue, before any post
    OnServerIdle(Stop);
    FillInFailuresAtOnce();
    for (const ServedClass &served : ServedClasses()) {
        IClassFactory *factory = NewClassFactory(served);
        DWORD cookie = 0;
        const HRESULT result = CoRegisterClassObject(served.clsid, factory, CLSCTX_LOCAL_SERVER,
                                                     REGCLS_MULTIPLEUSE, &cookie);
        factory->Release(); // COM holds it while registered
        if (FAILED(result)) {
            std::fprintf(stderr, "fakeact_server: cannot register (%08lx)\n", ULONG(result));
            return 1;
        }
        registrations.push_back(cookie);
    }
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    RevokeClassObjects();
    CoUninitialize();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const char *option = argc == 2 ? argv[1] : "";
    if ((option[0] == '/' || option[0] == '-') && _stricmp(option + 1, "RegServer") == 0)
        return FAILED(RegisterServer(false, ModulePath(nullptr)));
    if ((option[0] == '/' || option[0] == '-') && _stricmp(option + 1, "Embedding") == 0)
        return Serve();
    std::fprintf(stderr, "usage: fakeact_server /RegServer | /Embedding\n");
    return 2;
}
