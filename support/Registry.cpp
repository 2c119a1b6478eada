#include "Registry.h"

#include "IniProfile.h"

#ifdef Q_OS_WIN
#include "WindowsRegistry.h"
#endif

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

IniFileRegistry::IniFileRegistry(QString filePath) : m_filePath(std::move(filePath)) {}

std::optional<QString> IniFileRegistry::ReadString(const QString &keyPath,
                                                   const QString &valueName) const
{
    // A default no stored value can equal tells a missing value from an empty one.
    static const QString missing = QStringLiteral("<<no such registry value>>");
    IniProfile ini;
    ini.setFileName(m_filePath);
    const QString value = ini.ReadData(keyPath, valueName, missing);
    if (value == missing)
        return std::nullopt;
    return value;
}

void IniFileRegistry::WriteString(const QString &keyPath, const QString &valueName,
                                  const QString &value)
{
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    IniProfile ini;
    ini.setFileName(m_filePath);
    ini.WriteData(keyPath, valueName, value);
}

QString IniFileRegistry::DefaultFilePath()
{
    const QString fromEnvironment = qEnvironmentVariable("ACT_STANDIN_REGISTRY");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/act-standin/registry.ini");
}

std::unique_ptr<Registry> SystemRegistry()
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsRegistry>();
#else
    return std::make_unique<IniFileRegistry>(IniFileRegistry::DefaultFilePath());
#endif
}
