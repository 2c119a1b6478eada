#include "Registration.h"

#include "ServedClasses.h"

#include <objbase.h>
#include <olectl.h>

#include <iterator>

namespace {

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

// LocalServer32 holds a command line: a path with spaces needs quotes to stay one word.
std::wstring commandLine(const std::wstring &path)
{
    return path.find(L' ') == std::wstring::npos ? path : L'"' + path + L'"';
}

} // namespace

HRESULT registerServer(ServerKind kind, const std::wstring &path)
{
    if (path.empty())
        return SELFREG_E_CLASS;
    for (const auto &served : servedClasses()) {
        const std::wstring clsid = clsidText(served.clsid);
        const std::wstring clsidKey = L"CLSID\\" + clsid;
        bool ok = writeKey(std::wstring(served.progId) + L"\\CLSID", clsid) &&
                  writeKey(clsidKey, served.description) &&
                  writeKey(clsidKey + L"\\ProgID", served.progId);
        if (kind == ServerKind::InProcess) {
            ok = ok && writeKey(clsidKey + L"\\InprocServer32", path, L"ThreadingModel", L"Both") &&
                 deleteTree(clsidKey + L"\\LocalServer32");
        } else {
            ok = ok && writeKey(clsidKey + L"\\LocalServer32", commandLine(path)) &&
                 deleteTree(clsidKey + L"\\InprocServer32");
        }
        if (!ok)
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

HRESULT unregisterServer()
{
    bool ok = true;
    for (const auto &served : servedClasses()) {
        if (progIdIsOurs(served))
            ok = deleteTree(served.progId) && ok;
        ok = deleteTree(L"CLSID\\" + clsidText(served.clsid)) && ok;
    }
    return ok ? S_OK : SELFREG_E_CLASS;
}

std::wstring modulePath(HMODULE module)
{
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size())
        return {};
    path.resize(length);
    return path;
}
