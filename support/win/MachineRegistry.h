#pragma once

// Read access to HKEY_LOCAL_MACHINE in plain Win32 C++ (ANSI functions), so it
// builds without Qt.

#include <cstddef>
#include <optional>
#include <string>

namespace winreg {

// The buffer a value is read into, its NUL included; ACT!'s folder has always
// been read this way, and a longer value counts as not there.
inline constexpr std::size_t ValueBufferBytes = 255;

// The text of value `valueName` of key `keyPath` under HKEY_LOCAL_MACHINE, up to
// its first NUL; nullopt when the key or the value is missing or the value does
// not fit ValueBufferBytes. The value's type is not checked.
std::optional<std::string> ReadMachineText(const std::string &keyPath,
                                           const std::string &valueName);

} // namespace winreg
