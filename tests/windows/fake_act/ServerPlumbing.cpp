// What both servers share around the objects: the class factory, the registry keys and the
// count that keeps a server running.

#include "FakeAct.h"

#include <olectl.h>

#include <iterator>

namespace {

LONG references = 0;
void (*idleHandler)() = nullptr;

class ClassFactory : public IClassFactory
{
public:
    explicit ClassFactory(const ServedClass &served) : m_served(served) {}
    virtual ~ClassFactory() = default;
    ClassFactory(const ClassFactory &) = delete;
    ClassFactory &operator=(const ClassFactory &) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override
    {
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory *>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_refs);
        if (left == 0)
            delete this;
        return ULONG(left);
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **object) override
    {
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IDispatch *instance = m_served.create();
        if (!instance)
            return E_OUTOFMEMORY;
        const HRESULT result = instance->QueryInterface(riid, object);
        instance->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        lock ? ServerAddRef() : ServerRelease();
        return S_OK;
    }

private:
    LONG m_refs = 1;
    const ServedClass &m_served;
};

// Creates HKCR\<path> with its default value and, if given, one named value.
bool WriteKey(const std::wstring &path, const std::wstring &value, const wchar_t *name = nullptr,
              const std::wstring &namedValue = {})
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    const auto set = [key](const wchar_t *valueName, const std::wstring &text) {
        return RegSetValueExW(key, valueName, 0, REG_SZ,
                              reinterpret_cast<const BYTE *>(text.c_str()),
                              DWORD((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    };
    const bool ok = set(nullptr, value) && (!name || set(name, namedValue));
    RegCloseKey(key);
    return ok;
}

bool DeleteKey(const std::wstring &path)
{
    const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str()); // some systems leave the emptied key behind
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

} // namespace

IClassFactory *NewClassFactory(const ServedClass &served)
{
    return new ClassFactory(served);
}

HRESULT RegisterServer(bool inProcess, const std::wstring &path)
{
    if (path.empty())
        return SELFREG_E_CLASS;
    // LocalServer32 holds a command line: a path with blanks needs quotes to stay one word.
    const std::wstring server = inProcess ? path : L'"' + path + L'"';
    for (const ServedClass &served : ServedClasses()) {
        wchar_t clsid[40] = {};
        StringFromGUID2(served.clsid, clsid, int(std::size(clsid)));
        const std::wstring key = std::wstring(L"CLSID\\") + clsid;
        const bool ok =
            WriteKey(std::wstring(served.progId) + L"\\CLSID", clsid) &&
            WriteKey(key, served.progId) && WriteKey(key + L"\\ProgID", served.progId) &&
            (inProcess
                 ? WriteKey(key + L"\\InprocServer32", server, L"ThreadingModel", L"Apartment")
                 : WriteKey(key + L"\\LocalServer32", server)) &&
            DeleteKey(key + (inProcess ? L"\\LocalServer32" : L"\\InprocServer32"));
        if (!ok)
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

std::wstring ModulePath(HMODULE module)
{
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(module, path.data(), DWORD(path.size()));
    path.resize(length < path.size() ? length : 0);
    return path;
}

void ServerAddRef()
{
    InterlockedIncrement(&references);
}

void ServerRelease()
{
    if (InterlockedDecrement(&references) == 0 && idleHandler)
        idleHandler();
}

void OnServerIdle(void (*handler)())
{
    idleHandler = handler;
}
