#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString ProgramFolder()
{
    QString folder = qEnvironmentVariable("ORDALIS_HOME");
    if (folder.isEmpty()) {
        if (QCoreApplication::instance())
            folder = QCoreApplication::applicationDirPath();
        else
            folder = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget())
                         .absolutePath();
    }
    folder = QDir::cleanPath(folder);
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}
