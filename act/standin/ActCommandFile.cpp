#include "ActCommandFile.h"

#include "CommandFileLock.h"
#include "act/ActObject.h"
#include "support/Cp1252.h"
#include "support/IniFile.h"

#include <QSet>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

const QString ActCommandFile::CommandPrefix = u"AuxCommand-"_s;
const QString ActCommandFile::ToolbarPrefix = u"AuxTBarCommand-"_s;

namespace {

constexpr int ReadBufferLength = 8192;

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

// Another program holding the lock past the timeout fails the call like a
// busy ACT!, instead of editing the file under its hands.
void requireLock(const CommandFileLock &lock, const QString &path)
{
    if (lock.TimedOut())
        throw ActError(QStringLiteral("%1 wird von einem anderen Programm bearbeitet.").arg(path));
}

[[noreturn]] void notWritten(const QString &path)
{
    throw ActError(QStringLiteral("%1 lässt sich nicht schreiben.").arg(path));
}

// A section of one family: its place among the file's sections and its number.
struct Member
{
    int index = 0;
    int number = 0;
    QByteArray section; // its name as the file spells it
};

// Decimal without leading zeros, as ACT! writes them; any other name is no member.
std::optional<int> numberIn(QByteArrayView name, QByteArrayView prefix)
{
    if (name.size() <= prefix.size() ||
        Cp1252::foldCase(name.first(prefix.size())) != Cp1252::foldCase(prefix))
        return std::nullopt;
    const QByteArrayView digits = name.sliced(prefix.size());
    if (digits.size() > 1 && digits.front() == '0')
        return std::nullopt;
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    bool ok = false;
    const int number = digits.toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

QList<Member> membersOf(const QList<QByteArray> &names, const QString &prefix)
{
    const QByteArray prefixBytes = prefix.toLatin1();
    QList<Member> members;
    for (int i = 0; i < names.size(); ++i) {
        if (const std::optional<int> number = numberIn(names[i], prefixBytes))
            members.append({i, *number, names[i]});
    }
    return members;
}

// The sections a read finds: the first of each number, by number.
QList<Member> visibleMembers(const IniDocument &document, const QString &prefix)
{
    QList<Member> members = membersOf(document.sectionNames(), prefix);
    std::stable_sort(members.begin(), members.end(),
                     [](const Member &a, const Member &b) { return a.number < b.number; });
    members.erase(
        std::unique(members.begin(), members.end(),
                    [](const Member &a, const Member &b) { return a.number == b.number; }),
        members.end());
    return members;
}

QString read(const IniDocument &document, const QByteArray &section, const QString &key,
             const QString &standard = QString())
{
    return document.decode(document.readString(section, document.fileText(key),
                                               document.fileText(standard), ReadBufferLength));
}

AuxCommandEntry commandIn(const IniDocument &document, const Member &member)
{
    AuxCommandEntry entry;
    entry.number = member.number;
    entry.name = read(document, member.section, Key::Name);
    entry.program = read(document, member.section, Key::Program);
    entry.folder = read(document, member.section, Key::Folder);
    entry.tooltip = read(document, member.section, Key::Tooltip);
    entry.description = read(document, member.section, Key::Description);
    entry.smallIcon = read(document, member.section, Key::SmallIcon);
    entry.largeIcon = read(document, member.section, Key::LargeIcon);
    entry.options = read(document, member.section, Key::Options, u"0"_s).toInt();
    return entry;
}

ToolbarEntry toolbarEntryIn(const IniDocument &document, const Member &member)
{
    return {member.number, read(document, member.section, Key::Name),
            read(document, member.section, Key::Toolbar, u"0"_s).toInt()};
}

// The file without the dropped sections and with each family numbered 0, 1,
// 2, ... in its old order; sections sharing a number keep sharing one.
QByteArray tidied(const IniDocument &document, const QSet<int> &dropped = {})
{
    const QList<QByteArray> names = document.sectionNames();
    QList<std::optional<QByteArray>> next(names.begin(), names.end());
    for (int index : dropped)
        next[index].reset();
    for (const QString &prefix : {ActCommandFile::CommandPrefix, ActCommandFile::ToolbarPrefix}) {
        QList<int> kept;
        const QList<Member> members = membersOf(names, prefix);
        for (const Member &member : members) {
            if (!dropped.contains(member.index))
                kept.append(member.number);
        }
        std::sort(kept.begin(), kept.end());
        kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
        for (const Member &member : members) {
            if (dropped.contains(member.index))
                continue;
            const int number =
                int(std::lower_bound(kept.begin(), kept.end(), member.number) - kept.begin());
            if (number != member.number)
                next[member.index] =
                    member.section.first(prefix.size()) + QByteArray::number(number);
        }
    }
    return document.withSections(next).value_or(document.bytes());
}

QByteArray sectionFor(const QString &prefix, qsizetype number)
{
    return prefix.toLatin1() + QByteArray::number(number);
}

// Makes change of the file in one replacement; change answers nullopt when
// there is nothing to do. Throws when a change did not reach the file.
void apply(const QString &path, const IniFile::Edit &change)
{
    bool called = false;
    std::optional<QByteArray> made;
    IniFile::edit(path, [&](const IniDocument &document) {
        called = true;
        made = change(document);
        return made;
    });
    // A file that refuses writes still answers what there would have been to do.
    if (!called)
        made = change(*IniFile::load(path));
    if (made && IniFile::load(path)->bytes() != *made)
        notWritten(path);
}

} // namespace

ActCommandFile::ActCommandFile(QString path) : m_path(std::move(path)) {}

bool ActCommandFile::SameName(const QString &a, const QString &b)
{
    // A section without a name is no command of any name.
    const QString left = a.trimmed();
    return !left.isEmpty() && left.compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

QVector<AuxCommandEntry> ActCommandFile::Commands() const
{
    const std::shared_ptr<const IniDocument> document = IniFile::load(m_path);
    QVector<AuxCommandEntry> commands;
    for (const Member &member : visibleMembers(*document, CommandPrefix))
        commands.append(commandIn(*document, member));
    return commands;
}

QVector<ToolbarEntry> ActCommandFile::ToolbarEntries() const
{
    const std::shared_ptr<const IniDocument> document = IniFile::load(m_path);
    QVector<ToolbarEntry> entries;
    for (const Member &member : visibleMembers(*document, ToolbarPrefix))
        entries.append(toolbarEntryIn(*document, member));
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
    // Such a command would start nothing and end the installer's clean-up.
    if (command.program.trimmed().isEmpty())
        throw ActError(QStringLiteral("Der Befehl „%1“ braucht ein Programm.").arg(command.name));
    const CommandFileLock lock(m_path);
    requireLock(lock, m_path);
    bool exists = false;
    apply(m_path, [&](const IniDocument &current) -> std::optional<QByteArray> {
        const IniDocument document(tidied(current));
        const QList<Member> members = visibleMembers(document, CommandPrefix);
        std::optional<QByteArray> unfinished;
        exists = false;
        for (const Member &member : members) {
            if (!SameName(read(document, member.section, Key::Name), command.name))
                continue;
            if (!read(document, member.section, Key::Program).isEmpty())
                exists = true;
            else if (!unfinished)
                unfinished = member.section;
        }
        if (exists)
            return std::nullopt;
        const auto text = [&document](QStringView value) { return document.fileText(value); };
        const QList<IniDocument::Assignment> keys = {
            {text(Key::Name), text(command.name)},
            {text(Key::Program), text(command.program)},
            {text(Key::Folder), text(command.folder)},
            {text(Key::Tooltip), text(command.tooltip)},
            {text(Key::Description), text(command.description)},
            {text(Key::SmallIcon), text(command.smallIcon)},
            {text(Key::LargeIcon), text(command.largeIcon)},
            {text(Key::Options), text(QString::number(command.options))},
        };
        return document
            .withValues(unfinished.value_or(sectionFor(CommandPrefix, members.size())), keys)
            .value_or(document.bytes());
    });
    return exists ? 1 : 0;
}

bool ActCommandFile::DeleteAuxCommand(const QString &name)
{
    const CommandFileLock lock(m_path);
    requireLock(lock, m_path);
    bool deleted = false;
    apply(m_path, [&](const IniDocument &document) -> std::optional<QByteArray> {
        QSet<int> dropped;
        for (const Member &member : visibleMembers(document, CommandPrefix)) {
            if (SameName(read(document, member.section, Key::Name), name))
                dropped.insert(member.index);
        }
        deleted = !dropped.isEmpty();
        // A button whose command is gone would start nothing.
        for (const Member &member : visibleMembers(document, ToolbarPrefix)) {
            if (SameName(read(document, member.section, Key::Name), name))
                dropped.insert(member.index);
        }
        if (dropped.isEmpty())
            return std::nullopt;
        return tidied(document, dropped);
    });
    return deleted;
}

bool ActCommandFile::AddToToolbar(qint32 toolbar, const QString &name)
{
    const CommandFileLock lock(m_path);
    requireLock(lock, m_path);
    bool added = false;
    apply(m_path, [&](const IniDocument &current) -> std::optional<QByteArray> {
        const IniDocument document(tidied(current));
        const QList<Member> members = visibleMembers(document, ToolbarPrefix);
        added = std::none_of(members.begin(), members.end(), [&](const Member &member) {
            const ToolbarEntry entry = toolbarEntryIn(document, member);
            return entry.toolbar == toolbar && SameName(entry.name, name);
        });
        if (!added)
            return std::nullopt;
        return document.withValues(
            sectionFor(ToolbarPrefix, members.size()),
            {{document.fileText(Key::Name), document.fileText(name)},
             {document.fileText(Key::Toolbar), document.fileText(QString::number(toolbar))}});
    });
    return added;
}

bool ActCommandFile::RemoveFromToolbar(qint32 toolbar, const QString &name)
{
    const CommandFileLock lock(m_path);
    requireLock(lock, m_path);
    bool removed = false;
    apply(m_path, [&](const IniDocument &document) -> std::optional<QByteArray> {
        QSet<int> dropped;
        for (const Member &member : visibleMembers(document, ToolbarPrefix)) {
            const ToolbarEntry entry = toolbarEntryIn(document, member);
            if (entry.toolbar == toolbar && SameName(entry.name, name))
                dropped.insert(member.index);
        }
        removed = !dropped.isEmpty();
        if (!removed)
            return std::nullopt;
        return tidied(document, dropped);
    });
    return removed;
}
