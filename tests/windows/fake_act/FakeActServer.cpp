// In-process server entry points: class factories, registration, test exports.

#include "DispatchBase.h"
#include "FakeActObjects.h"
#include "FakeActState.h"

#include <objbase.h>
#include <olectl.h>
#include <windows.h>

#include <iterator>
#include <new>
#include <string>

namespace {

struct ServedClass
{
    const wchar_t *progId;
    CLSID clsid;
    const wchar_t *description;
    IDispatch *(*create)();
};

const ServedClass servedClasses[] = {
    {L"ACTEVENTLib.ActEvent",
     {0xc264c5c5, 0x1c4d, 0x488a, {0xb6, 0x0e, 0xfe, 0xc1, 0x50, 0xc9, 0xa3, 0x2e}},
     L"ACT! event object (test model)",
     createActEvent},
    {L"ACTOLE.DATABASE",
     {0xa3545b7a, 0x880a, 0x4450, {0x90, 0xdf, 0x55, 0x0d, 0xcd, 0x00, 0xd6, 0x10}},
     L"ACT! database object (test model)",
     createDatabase},
    {L"ACTOLE.APPOBJECT",
     {0xc00d9467, 0x10fb, 0x4875, {0xa2, 0x83, 0x91, 0xe5, 0x77, 0x6d, 0x75, 0x63}},
     L"ACT! application object (test model)",
     createAppObject},
    {L"ACTOLE.AUXCMDS",
     {0xdaef1e5c, 0x9b74, 0x404c, {0x86, 0x34, 0x53, 0x93, 0xf3, 0xa7, 0x94, 0xa5}},
     L"ACT! aux commands object (test model)",
     createAuxCmds},
};

HMODULE thisModule = nullptr;
LONG serverLocks = 0;
LONG factoryRefs = 0; // a held factory keeps the DLL loaded as well

class ClassFactory : public IClassFactory
{
public:
    explicit ClassFactory(const ServedClass &served) : served_(served)
    {
        InterlockedIncrement(&factoryRefs);
    }
    virtual ~ClassFactory() { InterlockedDecrement(&factoryRefs); }
    ClassFactory(const ClassFactory &) = delete;
    ClassFactory &operator=(const ClassFactory &) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return static_cast<ULONG>(InterlockedIncrement(&refs_));
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IDispatch *instance = served_.create();
        if (!instance)
            return E_OUTOFMEMORY;
        const HRESULT hr = instance->QueryInterface(riid, object);
        instance->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            InterlockedIncrement(&serverLocks);
        else
            InterlockedDecrement(&serverLocks);
        return S_OK;
    }

private:
    LONG refs_ = 1;
    const ServedClass &served_;
};

std::wstring clsidText(const CLSID &clsid)
{
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, static_cast<int>(std::size(text)));
    return text;
}

bool setValue(HKEY key, const wchar_t *name, const std::wstring &value)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

// Creates HKCR\<path> and sets its default value and, if given, one named value.
bool writeKey(const std::wstring &path, const std::wstring &value, const wchar_t *name = nullptr,
              const std::wstring &namedValue = {})
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = setValue(key, nullptr, value);
    if (ok && name)
        ok = setValue(key, name, namedValue);
    RegCloseKey(key);
    return ok;
}

bool deleteTree(const std::wstring &path)
{
    // Some systems leave the emptied key itself behind.
    LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (status == ERROR_SUCCESS)
        status = RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

// The ProgID key is shared ground: remove it only while it still names our class.
bool progIdIsOurs(const ServedClass &served)
{
    wchar_t value[64] = {};
    DWORD size = sizeof(value);
    const std::wstring path = std::wstring(served.progId) + L"\\CLSID";
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return false;
    return _wcsicmp(value, clsidText(served.clsid).c_str()) == 0;
}

std::wstring modulePath()
{
    std::wstring path(32768, L'\0');
    const DWORD length =
        GetModuleFileNameW(thisModule, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size())
        return {};
    path.resize(length);
    return path;
}

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
    for (const auto &served : servedClasses) {
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
    const bool busy = liveObjectCount() > 0 || InterlockedCompareExchange(&serverLocks, 0, 0) > 0 ||
                      InterlockedCompareExchange(&factoryRefs, 0, 0) > 0;
    return busy ? S_FALSE : S_OK;
}

STDAPI DllRegisterServer()
{
    const std::wstring path = modulePath();
    if (path.empty())
        return SELFREG_E_CLASS;
    for (const auto &served : servedClasses) {
        const std::wstring clsid = clsidText(served.clsid);
        const std::wstring clsidKey = L"CLSID\\" + clsid;
        const bool ok = writeKey(std::wstring(served.progId) + L"\\CLSID", clsid) &&
                        writeKey(clsidKey, served.description) &&
                        writeKey(clsidKey + L"\\ProgID", served.progId) &&
                        writeKey(clsidKey + L"\\InprocServer32", path, L"ThreadingModel", L"Both");
        if (!ok)
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

STDAPI DllUnregisterServer()
{
    bool ok = true;
    for (const auto &served : servedClasses) {
        if (progIdIsOurs(served))
            ok = deleteTree(served.progId) && ok;
        ok = deleteTree(L"CLSID\\" + clsidText(served.clsid)) && ok;
    }
    return ok ? S_OK : SELFREG_E_CLASS;
}

extern "C" LONG FakeActLiveObjects()
{
    return liveObjectCount();
}

extern "C" void FakeActReset()
{
    FakeActState::instance().reset();
}
