// fakeact.dll: the objects served in the client's process.

#include "FakeAct.h"

namespace {

HMODULE thisModule = nullptr;

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        thisModule = instance;
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID *object)
{
    *object = nullptr;
    for (const ServedClass &served : ServedClasses()) {
        if (!IsEqualCLSID(clsid, served.clsid))
            continue;
        IClassFactory *factory = NewClassFactory(served);
        const HRESULT result = factory->QueryInterface(riid, object);
        factory->Release();
        return result;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

// Loaded once, it stays: a test process is short.
STDAPI DllCanUnloadNow()
{
    return S_FALSE;
}

STDAPI DllRegisterServer()
{
    return RegisterServer(true, ModulePath(thisModule));
}
