// In-process server entry points and the test exports.

#include "ClassFactory.h"
#include "Registration.h"
#include "ServedClasses.h"
#include "ServerLifetime.h"

#include <objbase.h>
#include <windows.h>

#include <new>

namespace {

HMODULE thisModule = nullptr;

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        thisModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID *object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    for (const auto &served : servedClasses()) {
        if (!IsEqualCLSID(rclsid, served.clsid))
            continue;
        auto *factory = new (std::nothrow) ClassFactory(served);
        if (!factory)
            return E_OUTOFMEMORY;
        const HRESULT hr = factory->QueryInterface(riid, object);
        factory->Release();
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow()
{
    return serverReferences() > 0 || ClassFactory::liveCount() > 0 ? S_FALSE : S_OK;
}

STDAPI DllRegisterServer()
{
    return registerServer(ServerKind::InProcess, modulePath(thisModule));
}

STDAPI DllUnregisterServer()
{
    return unregisterServer();
}
