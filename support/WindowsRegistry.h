#pragma once

#include "Registry.h"

// The Windows registry itself, read through the ANSI functions into the
// 255-byte buffer ACT!'s folder has always been read into. Windows only.
class WindowsRegistry : public Registry
{
public:
    std::optional<QString> ReadString(const QString &keyPath,
                                      const QString &valueName) const override;
};
