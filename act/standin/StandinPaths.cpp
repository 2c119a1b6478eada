#include "StandinPaths.h"

#include <QDir>
#include <QStandardPaths>

QString StandinDataFolder()
{
    QString folder = qEnvironmentVariable("ACT_STANDIN_HOME");
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                 QStringLiteral("/act-standin");
    }
    // cleanPath drops a trailing separator; absolute, because others read it
    // from the registry while running in other folders.
    return QDir::cleanPath(QDir(folder).absolutePath());
}

QString ContactDatabasePath(const QString &folder)
{
    return folder + QStringLiteral("/contacts.sqlite");
}

QString CommandFilePath(const QString &folder)
{
    return folder + QStringLiteral("/actcmd.ini");
}

QString RunLockPath(const QString &folder)
{
    return folder + QStringLiteral("/act-standin.lock");
}
