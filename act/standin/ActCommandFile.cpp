#include "ActCommandFile.h"

#include "CommandFileLock.h"
#include "act/ActObject.h"
#include "support/clsINI.h"

#include <QFile>

#include <algorithm>

using namespace Qt::StringLiterals;

const QString ActCommandFile::CommandPrefix = u"AuxCommand-"_s;
const QString ActCommandFile::ToolbarPrefix = u"AuxTBarCommand-"_s;

namespace {

namespace Key {
const QString Name = u"cmdname"_s;
const QString Program = u"cmdline"_s;
const QString Folder = u"workdir"_s;
const QString Tooltip = u"tooltip"_s;
const QString Description = u"description"_s;
const QString SmallIcon = u"smallicon"_s;
const QString LargeIcon = u"largeicon"_s;
const QString Options = u"options"_s;
const QString Toolbar = u"toolbar"_s;
} // namespace Key

clsINI iniFor(const QString &path)
{
    clsINI ini;
    ini.setFileName(path);
    return ini;
}

// Another program holding the lock past the timeout fails the call like a
// busy ACT!, instead of editing the file under its hands.
void requireLock(const CommandFileLock &lock, const QString &path)
{
    if (lock.TimedOut())
        throw ActError(QStringLiteral("%1 wird von einem anderen Programm bearbeitet.").arg(path));
}

QString section(const QString &prefix, int number)
{
    return prefix + QString::number(number);
}

} // namespace

ActCommandFile::ActCommandFile(QString path) : m_path(std::move(path)) {}

bool ActCommandFile::SameName(const QString &a, const QString &b)
{
    // A section without a name is no command of any name.
    const QString left = a.trimmed();
    return !left.isEmpty() && left.compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

QVector<int> ActCommandFile::sectionNumbers(const QString &prefix) const
{
    // clsINI cannot list sections, so the headers are read here; all edits
    // still go through clsINI.
    QFile file(m_path);
    QVector<int> numbers;
    if (!file.open(QIODevice::ReadOnly))
        return numbers;
    const QByteArray content = file.readAll();
    for (const QByteArray &rawLine : content.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (!line.startsWith('['))
            continue;
        const qsizetype close = line.indexOf(']');
        if (close < 0)
            continue;
        const QString name = QString::fromLatin1(line.sliced(1, close - 1).trimmed());
        if (!name.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        const QString digits = name.mid(prefix.size());
        // Decimal without leading zeros, as ACT! writes them.
        if (digits.isEmpty() || (digits.size() > 1 && digits.startsWith(u'0')))
            continue;
        bool ok = false;
        const int number = digits.toInt(&ok);
        if (ok && number >= 0 &&
            std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
            numbers.append(number);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

int ActCommandFile::lowestFree(const QVector<int> &taken)
{
    int candidate = 0;
    for (int number : taken) {
        if (number != candidate)
            break;
        ++candidate;
    }
    return candidate;
}

QVector<AuxCommandEntry> ActCommandFile::Commands() const
{
    const clsINI ini = iniFor(m_path);
    QVector<AuxCommandEntry> commands;
    for (int number : sectionNumbers(CommandPrefix)) {
        const QString name = section(CommandPrefix, number);
        AuxCommandEntry entry;
        entry.number = number;
        entry.name = ini.ReadData(name, Key::Name, QString());
        entry.program = ini.ReadData(name, Key::Program, QString());
        entry.folder = ini.ReadData(name, Key::Folder, QString());
        entry.tooltip = ini.ReadData(name, Key::Tooltip, QString());
        entry.description = ini.ReadData(name, Key::Description, QString());
        entry.smallIcon = ini.ReadData(name, Key::SmallIcon, QString());
        entry.largeIcon = ini.ReadData(name, Key::LargeIcon, QString());
        entry.options = ini.ReadData(name, Key::Options, u"0"_s).toInt();
        commands.append(entry);
    }
    return commands;
}

QVector<ToolbarEntry> ActCommandFile::ToolbarEntries() const
{
    const clsINI ini = iniFor(m_path);
    QVector<ToolbarEntry> entries;
    for (int number : sectionNumbers(ToolbarPrefix)) {
        const QString name = section(ToolbarPrefix, number);
        entries.append({number, ini.ReadData(name, Key::Name, QString()),
                        ini.ReadData(name, Key::Toolbar, u"0"_s).toInt()});
    }
    return entries;
}

bool ActCommandFile::AuxCommandExists(const QString &name) const
{
    const QVector<AuxCommandEntry> commands = Commands();
    return std::any_of(commands.begin(), commands.end(),
                       [&](const AuxCommandEntry &entry) { return SameName(entry.name, name); });
}

bool ActCommandFile::ExistsInToolbar(qint32 toolbar, const QString &name) const
{
    const QVector<ToolbarEntry> entries = ToolbarEntries();
    return std::any_of(entries.begin(), entries.end(), [&](const ToolbarEntry &entry) {
        return entry.toolbar == toolbar && SameName(entry.name, name);
    });
}

int ActCommandFile::AddAuxCommand(const AuxCommandEntry &command)
{
    const CommandFileLock lock(m_path);
    requireLock(lock, m_path);
    if (AuxCommandExists(command.name))
        return 1;
    const QString name = section(CommandPrefix, lowestFree(sectionNumbers(CommandPrefix)));
    clsINI ini = iniFor(m_path);
    ini.WriteData(name, Key::Name, command.name);
    ini.WriteData(name, Key::Program, command.program);
    ini.WriteData(name, Key::Folder, command.folder);
    ini.WriteData(name, Key::Tooltip, command.tooltip);
    ini.WriteData(name, Key::Description, command.description);
    ini.WriteData(name, Key::SmallIcon, command.smallIcon);
    ini.WriteData(name, Key::LargeIcon, command.largeIcon);
    ini.WriteData(name, Key::Options, QString::number(command.options));
    // clsINI reports no failure; a command that did not arrive must not count as added.
    if (!AuxCommandExists(command.name))
        throw ActError(QStringLiteral("%1 lässt sich nicht schreiben.").arg(m_path));
    return 0;
}

bool ActCommandFile::DeleteAuxCommand(const QString &name)
{
    const CommandFileLock lock(m_path);
    requireLock(lock, m_path);
    clsINI ini = iniFor(m_path);
    bool deleted = false;
    for (const AuxCommandEntry &entry : Commands()) {
        if (SameName(entry.name, name)) {
            ini.DeleteSection(section(CommandPrefix, entry.number));
            deleted = true;
        }
    }
    // A button whose command is gone would start nothing.
    for (const ToolbarEntry &entry : ToolbarEntries()) {
        if (SameName(entry.name, name))
            ini.DeleteSection(section(ToolbarPrefix, entry.number));
    }
    if (deleted && AuxCommandExists(name))
        throw ActError(QStringLiteral("%1 lässt sich nicht schreiben.").arg(m_path));
    return deleted;
}

bool ActCommandFile::AddToToolbar(qint32 toolbar, const QString &name)
{
    const CommandFileLock lock(m_path);
    requireLock(lock, m_path);
    if (ExistsInToolbar(toolbar, name))
        return false;
    const QString sectionName = section(ToolbarPrefix, lowestFree(sectionNumbers(ToolbarPrefix)));
    clsINI ini = iniFor(m_path);
    ini.WriteData(sectionName, Key::Name, name);
    ini.WriteData(sectionName, Key::Toolbar, QString::number(toolbar));
    if (!ExistsInToolbar(toolbar, name))
        throw ActError(QStringLiteral("%1 lässt sich nicht schreiben.").arg(m_path));
    return true;
}

bool ActCommandFile::RemoveFromToolbar(qint32 toolbar, const QString &name)
{
    const CommandFileLock lock(m_path);
    requireLock(lock, m_path);
    clsINI ini = iniFor(m_path);
    bool removed = false;
    for (const ToolbarEntry &entry : ToolbarEntries()) {
        if (entry.toolbar == toolbar && SameName(entry.name, name)) {
            ini.DeleteSection(section(ToolbarPrefix, entry.number));
            removed = true;
        }
    }
    if (removed && ExistsInToolbar(toolbar, name))
        throw ActError(QStringLiteral("%1 lässt sich nicht schreiben.").arg(m_path));
    return removed;
}
