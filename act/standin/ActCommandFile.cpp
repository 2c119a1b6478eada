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

// ASCII: the same bytes in every encoding the file may have.
namespace Key {
const QByteArray Name = "cmdname";
const QByteArray Program = "cmdline";
const QByteArray Folder = "workdir";
const QByteArray Tooltip = "tooltip";
const QByteArray Description = "description";
const QByteArray SmallIcon = "smallicon";
const QByteArray LargeIcon = "largeicon";
const QByteArray Options = "options";
const QByteArray Toolbar = "toolbar";
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

QString read(const IniDocument &document, const QByteArray &section, const QByteArray &key,
             const QByteArray &standard = {})
{
    return document.decode(document.readString(section, key, standard, ReadBufferLength));
}

// A name as the file stores it: encoded, control characters as blanks, and
// trimmed as a read trims it. nullopt when the file cannot hold it: then it
// names nothing there.
std::optional<QString> storedName(const IniDocument &document, const QString &name)
{
    const std::optional<QByteArray> bytes = document.fileText(name);
    if (!bytes)
        return std::nullopt;
    QByteArrayView text = *bytes;
    while (text.startsWith(' '))
        text = text.sliced(1);
    while (text.endsWith(' '))
        text.chop(1);
    return document.decode(text);
}

bool namedSo(const IniDocument &document, const Member &member,
             const std::optional<QString> &stored)
{
    return stored && ActCommandFile::SameName(read(document, member.section, Key::Name), *stored);
}

QString encodingName(const IniDocument &document)
{
    return document.encoding() == IniDocument::Encoding::Cp1252 ? u"Windows-1252"_s : u"UTF-8"_s;
}

// Why the file cannot hold the command as given; empty when it can. Stored
// with "?" in place of a character, it would be another command than the one
// asked for: never found again, never removed.
QString unstorable(const IniDocument &document, const AuxCommandEntry &command, const QString &path)
{
    const QString lacking = document.unmappable(
        QStringList{command.name, command.program, command.folder, command.tooltip,
                    command.description, command.smallIcon, command.largeIcon}
            .join(u'\n'));
    if (lacking.isEmpty())
        return {};
    return QStringLiteral("Der Befehl „%1“ lässt sich nicht in %2 speichern: „%3“ gibt es in "
                          "der Kodierung der Datei (%4) nicht.")
        .arg(command.name, path, lacking, encodingName(document));
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
    entry.options = read(document, member.section, Key::Options, "0").toInt();
    return entry;
}

ToolbarEntry toolbarEntryIn(const IniDocument &document, const Member &member)
{
    return {member.number, read(document, member.section, Key::Name),
            read(document, member.section, Key::Toolbar, "0").toInt()};
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
    // Both as the file stores them, trimmed already. A section without a name
    // is no command of any name.
    return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
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
    const std::shared_ptr<const IniDocument> document = IniFile::load(m_path);
    const std::optional<QString> stored = storedName(*document, name);
    const QList<Member> members = visibleMembers(*document, CommandPrefix);
    return std::any_of(members.begin(), members.end(),
                       [&](const Member &member) { return namedSo(*document, member, stored); });
}

bool ActCommandFile::ExistsInToolbar(qint32 toolbar, const QString &name) const
{
    const std::shared_ptr<const IniDocument> document = IniFile::load(m_path);
    const std::optional<QString> stored = storedName(*document, name);
    const QList<Member> members = visibleMembers(*document, ToolbarPrefix);
    return std::any_of(members.begin(), members.end(), [&](const Member &member) {
        return toolbarEntryIn(*document, member).toolbar == toolbar &&
               namedSo(*document, member, stored);
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
    QString refusal;
    apply(m_path, [&](const IniDocument &current) -> std::optional<QByteArray> {
        // Healed even when the add is refused: a gap must not outlive this call.
        const QByteArray healed = tidied(current);
        const IniDocument document(healed);
        refusal = unstorable(document, command, m_path);
        exists = false;
        if (!refusal.isEmpty())
            return healed;
        const std::optional<QString> stored = storedName(document, command.name);
        const QList<Member> members = visibleMembers(document, CommandPrefix);
        std::optional<QByteArray> unfinished;
        for (const Member &member : members) {
            if (!namedSo(document, member, stored))
                continue;
            if (!read(document, member.section, Key::Program).isEmpty())
                exists = true;
            else if (!unfinished)
                unfinished = member.section;
        }
        if (exists)
            return healed;
        // unstorable() found every text encodable.
        const auto text = [&document](QStringView value) { return *document.fileText(value); };
        const QList<IniDocument::Assignment> keys = {
            {Key::Name, text(command.name)},
            {Key::Program, text(command.program)},
            {Key::Folder, text(command.folder)},
            {Key::Tooltip, text(command.tooltip)},
            {Key::Description, text(command.description)},
            {Key::SmallIcon, text(command.smallIcon)},
            {Key::LargeIcon, text(command.largeIcon)},
            {Key::Options, QByteArray::number(command.options)},
        };
        return document
            .withValues(unfinished.value_or(sectionFor(CommandPrefix, members.size())), keys)
            .value_or(healed);
    });
    if (!refusal.isEmpty())
        throw ActError(refusal);
    return exists ? 1 : 0;
}

bool ActCommandFile::DeleteAuxCommand(const QString &name)
{
    const CommandFileLock lock(m_path);
    requireLock(lock, m_path);
    bool deleted = false;
    apply(m_path, [&](const IniDocument &document) -> std::optional<QByteArray> {
        const std::optional<QString> stored = storedName(document, name);
        QSet<int> dropped;
        for (const Member &member : visibleMembers(document, CommandPrefix)) {
            if (namedSo(document, member, stored))
                dropped.insert(member.index);
        }
        deleted = !dropped.isEmpty();
        // A button whose command is gone would start nothing.
        for (const Member &member : visibleMembers(document, ToolbarPrefix)) {
            if (namedSo(document, member, stored))
                dropped.insert(member.index);
        }
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
        const QByteArray healed = tidied(current);
        const IniDocument document(healed);
        const std::optional<QString> stored = storedName(document, name);
        const QList<Member> members = visibleMembers(document, ToolbarPrefix);
        added = stored && std::none_of(members.begin(), members.end(), [&](const Member &member) {
                    return toolbarEntryIn(document, member).toolbar == toolbar &&
                           namedSo(document, member, stored);
                });
        if (!added)
            return healed;
        return document
            .withValues(sectionFor(ToolbarPrefix, members.size()),
                        {{Key::Name, *document.fileText(name)},
                         {Key::Toolbar, QByteArray::number(toolbar)}})
            .value_or(healed);
    });
    return added;
}

bool ActCommandFile::RemoveFromToolbar(qint32 toolbar, const QString &name)
{
    const CommandFileLock lock(m_path);
    requireLock(lock, m_path);
    bool removed = false;
    apply(m_path, [&](const IniDocument &document) -> std::optional<QByteArray> {
        const std::optional<QString> stored = storedName(document, name);
        QSet<int> dropped;
        for (const Member &member : visibleMembers(document, ToolbarPrefix)) {
            if (toolbarEntryIn(document, member).toolbar == toolbar &&
                namedSo(document, member, stored))
                dropped.insert(member.index);
        }
        removed = !dropped.isEmpty();
        return tidied(document, dropped);
    });
    return removed;
}

void ActCommandFile::Heal()
{
    const CommandFileLock lock(m_path);
    requireLock(lock, m_path);
    apply(m_path, [](const IniDocument &document) -> std::optional<QByteArray> {
        return tidied(document);
    });
}
