#include "WindowsRegistry.h"

#include "support/win/MachineRegistry.h"

std::optional<QString> WindowsRegistry::ReadString(const QString &keyPath,
                                                   const QString &valueName) const
{
    // The ANSI functions speak the system code page, as local 8-bit does on Windows.
    const std::optional<std::string> value = winreg::ReadMachineText(
        keyPath.toLocal8Bit().toStdString(), valueName.toLocal8Bit().toStdString());
    if (!value)
        return std::nullopt;
    return QString::fromLocal8Bit(value->data(), qsizetype(value->size()));
}
