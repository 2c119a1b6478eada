#include "ActCommandFile.h"

#include "InstallerDiagnostics.h"
#include "TastorPaths.h"

#ifndef Q_OS_WIN
#include "act/standin/CommandFileLock.h"
#endif
#include "support/Cp1252.h"
#include "support/IniProfile.h"

#include <exception>
#include <limits>

namespace {
constexpr int RegistryBufferBytes = 255;
constexpr int ReadBufferLength = 256;

const QString CommandFileName = QStringLiteral("actcmd.ini");
const QString CommandSection = QStringLiteral("AuxCommand-");
const QString ToolbarSection = QStringLiteral("AuxTBarCommand-");
const QString NameKey = QStringLiteral("cmdname");
const QString CommandLineKey = QStringLiteral("cmdline");

// Blanks only, as the comparison has always trimmed; one character for one when
// upper-casing, so "ß" never equals "SS". A control character counts as the
// blank the stand-in stores in its place, so both find the same entries.
QString comparable(QString name)
{
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    }
    qsizetype first = 0;
    qsizetype last = name.size();
    while (first < last && name.at(first) == u' ')
        ++first;
    while (last > first && name.at(last - 1) == u' ')
        --last;
    QString upper = name.mid(first, last - first);
    for (QChar &c : upper)
        c = c.toUpper();
    return upper;
}

// Walks the sections prefix0, prefix1, ... until one does not qualify, and
// deletes the first one whose name matches.
template <typename Qualifies>
void removeFirstMatch(IniProfile &ini, const QString &prefix, const QString &wanted,
                      Qualifies qualifies, ActCmdCleanUp &done)
{
    for (qint32 i = 0; i < std::numeric_limits<qint32>::max(); ++i) {
        const QString section = prefix + QString::number(i);
        const QString name = ini.ReadData(section, NameKey, QString());
        if (!qualifies(section, name))
            return;
        if (comparable(name) == wanted) {
            ini.DeleteSection(section);
            // IniProfile reports no failure; a file that refused keeps the section.
            const bool kept = ini.ReadData(section, NameKey, QString()) == name;
            (kept ? done.Refused : done.Removed).append(section);
            return;
        }
    }
}

void removeEntries(const QString &name, const Registry &registry, ActCmdCleanUp &done)
{
    const QString folder = GetActFolder(registry);
    // Without a recorded folder there is no command file to speak of; the path
    // "\actcmd.ini" could only ever name a stranger's file.
    if (folder.isEmpty())
        return;
    const QString path = folder + PathRules::Native().Separator + CommandFileName;
    done.CommandFile = path;
    IniProfile ini(ReadBufferLength);
    ini.setFileName(path);
    if (!ini.FileAvailable())
        return;
    done.FileFound = true;

#ifndef Q_OS_WIN
    // The stand-in edits the file too; both passes see one state of it.
    const CommandFileLock lock(path);
    if (lock.TimedOut()) {
        done.Busy = true;
        return; // a stuck editor must not hang an unattended setup
    }
#endif
    const QString wanted = comparable(name);
    removeFirstMatch(
        ini, CommandSection, wanted,
        [&](const QString &section, const QString &commandName) {
            if (commandName.isEmpty())
                return false;
            if (!ini.ReadData(section, CommandLineKey, QString()).isEmpty())
                return true;
            done.CommandPassEnd = section;
            return false;
        },
        done);
    removeFirstMatch(
        ini, ToolbarSection, wanted,
        [](const QString &, const QString &toolbarName) { return !toolbarName.isEmpty(); }, done);
}
} // namespace

QString GetActFolder(const Registry &registry)
{
    const std::optional<QString> value = registry.ReadString(ActAppPathsKey, ActAppPathsValue);
    if (!value)
        return {};
    // The value in the ANSI code page and its NUL must fit the buffer.
    if (Cp1252::fromUnicode(*value).size() + 1 > RegistryBufferBytes)
        return {};
    QString folder = *value;
    if (const qsizetype nul = folder.indexOf(QChar(0)); nul >= 0)
        folder.truncate(nul);
    return folder;
}

QString GetActFolder()
{
    return GetActFolder(*SystemRegistry());
}

ActCmdCleanUp RemoveActCmdEntries(const QString &name, const Registry &registry)
{
    ActCmdCleanUp done;
    try {
        removeEntries(name, registry, done);
    } catch (const std::exception &) {
        // Quietly, like everything the installer does; a deletion made stays.
        qCWarning(lcInstaller).noquote() << "actcmd.ini clean-up stopped:" << CaughtFailureReason();
    }
    return done;
}

void RemoveActCmdEntries(const QString &name)
{
    RemoveActCmdEntries(name, *SystemRegistry());
}
