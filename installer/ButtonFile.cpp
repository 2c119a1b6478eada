#include "ButtonFile.h"

#include "support/IniProfile.h"

#include <QLocale>

#include <cmath>

namespace {
const QString Section = QStringLiteral("BUTTON");
// The installer's copy of IniProfile reads values of up to 255 characters.
constexpr int ReadBufferLength = 256;
} // namespace

std::optional<bool> SwitchFromText(const QString &text)
{
    bool ok = false;
    const double number = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number == 1.0;
}

ButtonFileRead ReadButtonFile(const QString &path)
{
    IniProfile ini(ReadBufferLength);
    ini.setFileName(path);
    ButtonFileRead read;
    if (!ini.FileAvailable())
        return read;

    ButtonFile &button = read.Button;
    const auto readSwitch = [&](const QString &key, bool &target) {
        const std::optional<bool> value =
            SwitchFromText(ini.ReadData(Section, key, QStringLiteral("1")));
        if (!value) {
            read.Result = ButtonFileRead::NotANumber;
            read.BadKey = key;
            return false;
        }
        target = *value;
        return true;
    };
    const auto readText = [&](const QString &key) { return ini.ReadData(Section, key, QString()); };

    if (!readSwitch(QStringLiteral("INSTALL"), button.Install))
        return read;
    button.Name = readText(QStringLiteral("NAME"));
    button.FileName = readText(QStringLiteral("FILENAME"));
    button.Description = readText(QStringLiteral("DESCRIPTION"));
    button.Tooltip = readText(QStringLiteral("TOOLTIP"));
    button.IconL = readText(QStringLiteral("ICONL"));
    button.IconS = readText(QStringLiteral("ICONS"));
    if (!readSwitch(QStringLiteral("CONTACT"), button.Contact) ||
        !readSwitch(QStringLiteral("GROUP"), button.Group))
        return read;
    read.Result = ButtonFileRead::Read;
    return read;
}
