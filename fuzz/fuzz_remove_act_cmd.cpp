// The installer's clean-up on any actcmd.ini: nothing changes but the removal
// of at most one command section and one toolbar section, each the first of
// its name, and each carrying the command's name.
// Input: the command name (UTF-8, up to a NUL byte), then the file.

#include "FuzzScratch.h"

#include "installer/modACTReg.h"
#include "support/Cp1252.h"
#include "support/Registry.h"

#include <cstdint>

namespace {

QString comparable(const QString &name)
{
    QString text = name;
    while (text.startsWith(u' '))
        text.remove(0, 1);
    while (text.endsWith(u' '))
        text.chop(1);
    for (QChar &c : text)
        c = c.toUpper();
    return text;
}

// The removed lines as blocks of consecutive old lines.
QList<std::pair<qsizetype, qsizetype>> removedBlocks(const QList<QByteArrayView> &old,
                                                     const QList<QByteArrayView> &now)
{
    // Greedy alignment: the new lines are the old ones with blocks left out.
    QList<std::pair<qsizetype, qsizetype>> blocks;
    qsizetype j = 0;
    for (qsizetype i = 0; i < old.size();) {
        if (j < now.size() && old[i] == now[j]) {
            ++i;
            ++j;
            continue;
        }
        // A block runs from a header to the next header.
        qsizetype end = i + 1;
        while (end < old.size() && !IniHeaderName(old[end]))
            ++end;
        blocks.append({i, end});
        i = end;
    }
    FUZZ_CHECK(j == now.size());
    return blocks;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString folder = [] {
        const QString registryPath = ScratchFile(QStringLiteral("registry.ini"));
        IniFileRegistry(registryPath)
            .WriteString(ActAppPathsKey, ActAppPathsValue, ScratchFolder());
        return ScratchFolder();
    }();
    static const IniFileRegistry registry(ScratchFile(QStringLiteral("registry.ini")));

    QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype nul = input.indexOf('\0');
    const QString name = QString::fromUtf8(nul < 0 ? input : input.first(nul));
    const QByteArray before = nul < 0 ? QByteArray() : input.sliced(nul + 1).toByteArray();

    const QString path = folder + QStringLiteral("/actcmd.ini");
    WriteWhole(path, before);
    RemoveActCmdEntries(name, registry);
    const QByteArray after = ReadWhole(path);
    if (after == before)
        return 0;

    const QList<QByteArrayView> old = IniLines(before);
    const QList<QByteArrayView> now = IniLines(after);
    const auto blocks = removedBlocks(old, now);
    FUZZ_CHECK(!blocks.isEmpty() && blocks.size() <= 2);
    bool commandSeen = false;
    bool toolbarSeen = false;
    for (const auto &[from, to] : blocks) {
        const std::optional<QByteArrayView> header = IniHeaderName(old[from]);
        FUZZ_CHECK(header.has_value());
        const QByteArray folded = Cp1252::foldCase(*header);
        const bool command = folded.startsWith("auxcommand-");
        const bool toolbar = folded.startsWith("auxtbarcommand-");
        FUZZ_CHECK(command != toolbar);
        FUZZ_CHECK(command ? !commandSeen : !toolbarSeen);
        (command ? commandSeen : toolbarSeen) = true;
        // Its first "cmdname" line carries the name.
        bool named = false;
        for (qsizetype i = from + 1; i < to && !named; ++i) {
            const QByteArrayView line = IniTrimmed(old[i]);
            const qsizetype equals = line.indexOf('=');
            if (equals < 0 || Cp1252::foldCase(IniTrimmed(line.first(equals))) != "cmdname")
                continue;
            const QByteArray value = IniTrimmed(line.sliced(equals + 1)).toByteArray();
            named = true;
            FUZZ_CHECK(comparable(Cp1252::toUnicode(IniReadValue(value, 256))) == comparable(name));
        }
        FUZZ_CHECK(named);
        // Nothing of that name stands before it.
        for (qsizetype i = 0; i < from; ++i) {
            const std::optional<QByteArrayView> earlier = IniHeaderName(old[i]);
            FUZZ_CHECK(!earlier || Cp1252::foldCase(*earlier) != folded);
        }
    }
    return 0;
}
