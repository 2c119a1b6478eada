#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString withoutTrailingSeparator(QString folder)
{
    folder = QDir::cleanPath(folder);
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

QString executableFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
}

// The package manager owns /usr; even root must not keep settings there.
bool isSystemFolder(const QString &folder)
{
    return folder == u"/usr" || folder.startsWith(u"/usr/");
}

} // namespace

QString ProgramFolder()
{
    QString folder = qEnvironmentVariable("ORDALIS_HOME");
    if (folder.isEmpty())
        folder = executableFolder();
    return withoutTrailingSeparator(folder);
}

QString ChooseSettingsFolder(const SettingsFolderFacts &facts)
{
    if (!facts.OrdalisHome.isEmpty())
        return withoutTrailingSeparator(facts.OrdalisHome);
    const QString program = withoutTrailingSeparator(facts.ProgramFolder);
    if (facts.ProgramFolderWritable && !isSystemFolder(program))
        return program;
    // A relative XDG_CONFIG_HOME is invalid and to be ignored.
    QString config = facts.ConfigHome;
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = facts.Home + QStringLiteral("/.config");
    return withoutTrailingSeparator(config + QStringLiteral("/ordalis"));
}

QString SettingsFolder()
{
    SettingsFolderFacts facts;
    facts.OrdalisHome = qEnvironmentVariable("ORDALIS_HOME");
    facts.ProgramFolder = executableFolder();
    facts.ProgramFolderWritable = QFileInfo(facts.ProgramFolder).isWritable();
    facts.ConfigHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    facts.Home = QDir::homePath();
    const QString folder = ChooseSettingsFolder(facts);
    // ORDALIS_HOME is taken as given: a folder that is not there is the user's
    // mistake to see, not one to paper over.
    if (facts.OrdalisHome.isEmpty())
        QDir().mkpath(folder);
    return folder;
}
