#include "MachineRegistry.h"

#include <windows.h>

#include <algorithm>

namespace winreg {

std::optional<std::string> ReadMachineText(const std::string &keyPath, const std::string &valueName)
{
    HKEY key = nullptr;
    // A key that does not open is not checked on its own: the query below then
    // fails on the null key.
    const LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key);
    if (opened != ERROR_SUCCESS)
        key = nullptr;

    char buffer[ValueBufferBytes] = {};
    DWORD size = sizeof buffer;
    const LONG queried = RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr,
                                          reinterpret_cast<BYTE *>(buffer), &size);
    if (key)
        RegCloseKey(key);
    if (queried != ERROR_SUCCESS)
        return std::nullopt;

    // A value stored without its NUL fills the buffer exactly; never read past
    // what the query returned.
    const std::size_t length = std::min<std::size_t>(size, sizeof buffer);
    const char *end = std::find(buffer, buffer + length, '\0');
    return std::string(static_cast<const char *>(buffer), end);
}

} // namespace winreg
