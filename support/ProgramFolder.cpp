#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

const QString SettingsFileName = QStringLiteral("ordalis.ini");

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

// "C:/x" or "//server/share": the only absolute forms a Windows variable may hold.
bool isAbsoluteWindowsPath(const QString &path)
{
    return (path.size() >= 3 && path[0].isLetter() && path[1] == u':' && path[2] == u'/') ||
           path.startsWith(u"//");
}

QString windowsSettingsFolder(const SettingsFolderFacts &facts)
{
    QString appData = facts.AppData;
    appData.replace(u'\\', u'/');
    if (!isAbsoluteWindowsPath(appData)) {
        QString home = facts.Home;
        appData = home.replace(u'\\', u'/') + QStringLiteral("/AppData/Roaming");
    }
    // A share's leading "//" is Windows' own, which the cleaning here would merge.
    const bool share = appData.startsWith(u"//");
    const QString folder = withoutTrailingSeparator(appData + QStringLiteral("/Ordalis"));
    return share && !folder.startsWith(u"//") ? u'/' + folder : folder;
}

// Windows grants writing by access lists that Qt's writability check does not
// read (a normal user's Program Files folder looks writable to it): try it.
bool folderWritable(const QString &folder)
{
#ifdef Q_OS_WIN
    QTemporaryFile probe(folder + QStringLiteral("/.ordalis-probe-XXXXXX"));
    return probe.open();
#else
    return QFileInfo(folder).isWritable();
#endif
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
    if (facts.Windows)
        return facts.ProgramFolderWritable && !facts.Installed ? program
                                                               : windowsSettingsFolder(facts);
    if (facts.ProgramFolderWritable && !isSystemFolder(program))
        return program;
    // A relative XDG_CONFIG_HOME is invalid and to be ignored.
    QString config = facts.ConfigHome;
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = facts.Home + QStringLiteral("/.config");
    return withoutTrailingSeparator(config + QStringLiteral("/ordalis"));
}

bool CopyExampleSettings(const QString &programFolder, const QString &settingsFolder)
{
    const QString example = programFolder + u'/' + SettingsFileName;
    const QString target = settingsFolder + u'/' + SettingsFileName;
    if (QFileInfo(programFolder) == QFileInfo(settingsFolder) || QFileInfo::exists(target) ||
        !QFileInfo::exists(example) || !QFile::copy(example, target))
        return false;
    // The copy takes the example's permissions, which the setup may have made read-only.
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner |
                                      QFileDevice::WriteUser);
    return true;
}

QString SettingsFolder()
{
    SettingsFolderFacts facts;
    facts.OrdalisHome = qEnvironmentVariable("ORDALIS_HOME");
    facts.ProgramFolder = executableFolder();
    facts.ProgramFolderWritable = folderWritable(facts.ProgramFolder);
    facts.ConfigHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    facts.Home = QDir::homePath();
#ifdef Q_OS_WIN
    facts.Windows = true;
    facts.Installed =
        QFileInfo::exists(facts.ProgramFolder + u'/' + QString::fromUtf16(WindowsUninstallerName));
    facts.AppData = qEnvironmentVariable("APPDATA");
#endif
    const QString folder = ChooseSettingsFolder(facts);
    // ORDALIS_HOME is taken as given: a folder that is not there is the user's
    // mistake to see, not one to paper over.
    if (facts.OrdalisHome.isEmpty()) {
        QDir().mkpath(folder);
        if (facts.Windows)
            CopyExampleSettings(facts.ProgramFolder, folder);
    }
    return folder;
}
