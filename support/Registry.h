#pragma once

#include <QString>

#include <memory>
#include <optional>

// Read access to the machine-wide registry (HKEY_LOCAL_MACHINE). On Linux the
// registry is an INI-format file: section = key path, key = value name.
class Registry
{
public:
    virtual ~Registry() = default;
    // The text value, or nullopt when the key or the value is missing.
    virtual std::optional<QString> ReadString(const QString &keyPath,
                                              const QString &valueName) const = 0;
};

class IniFileRegistry : public Registry
{
public:
    explicit IniFileRegistry(QString filePath);
    std::optional<QString> ReadString(const QString &keyPath,
                                      const QString &valueName) const override;
    // Only the stand-in writes (to record where it lives).
    void WriteString(const QString &keyPath, const QString &valueName, const QString &value);

    // ACT_STANDIN_REGISTRY when set, else "act-standin/registry.ini" under the
    // user's XDG config folder.
    static QString DefaultFilePath();

private:
    QString m_filePath;
};

// The registry of this platform: Windows' own there, the stand-in's file elsewhere.
std::unique_ptr<Registry> SystemRegistry();

// Where ACT! records its program folder.
inline const QString ActAppPathsKey =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\act.exe");
inline const QString ActAppPathsValue = QStringLiteral("Path");
