// The installer's clean-up on any actcmd.ini, against a plain model of it:
// nothing changes but the removal of the lowest-numbered command section and
// toolbar section that carry the name, each the first section of its name.
// Input: the command name (UTF-8, up to a NUL byte), then the file.

#include "FuzzScratch.h"

#include "installer/ActCommandFile.h"
#include "support/IniDocument.h"
#include "support/Registry.h"

#include <algorithm>
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

// The file as plain lines with their byte ranges, read the simplest way.
struct ModelLine
{
    QByteArrayView text;
    qsizetype begin = 0; // first byte of the line
    qsizetype next = 0;  // first byte after its line end
};

// A UTF-8 mark stays in front of the first line.
QList<ModelLine> modelLines(QByteArrayView bytes, const IniDocument &document)
{
    QList<ModelLine> lines;
    qsizetype pos = document.encoding() == IniDocument::Encoding::Utf8WithMark ? 3 : 0;
    while (pos < bytes.size()) {
        ModelLine line;
        line.begin = pos;
        while (pos < bytes.size() && bytes[pos] != '\r' && bytes[pos] != '\n')
            ++pos;
        line.text = bytes.sliced(line.begin, pos - line.begin);
        while (pos < bytes.size() && (bytes[pos] == '\r' || bytes[pos] == '\n'))
            ++pos;
        line.next = pos;
        lines.append(line);
    }
    return lines;
}

// The first header line of that name, or -1.
qsizetype findHeader(const QList<ModelLine> &lines, QByteArrayView name,
                     const IniDocument &document)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QByteArrayView> header = IniHeaderName(lines[i].text);
        if (header && document.foldedName(*header) == document.foldedName(name))
            return i;
    }
    return -1;
}

// What a read with a 256-byte buffer gives for the key in the section that
// starts at header: the first line of that name, its value, or empty.
QString readKey(const QList<ModelLine> &lines, qsizetype header, QByteArrayView key,
                const IniDocument &document)
{
    for (qsizetype i = header + 1; i < lines.size() && !IniHeaderName(lines[i].text); ++i) {
        const QByteArrayView line = IniTrimmed(lines[i].text);
        if (line.isEmpty())
            continue;
        const qsizetype equals = line.indexOf('=');
        const QByteArrayView name = IniTrimmed(equals < 0 ? line : line.first(equals));
        if (document.foldedName(name) != document.foldedName(key))
            continue;
        const bool utf8 = document.encoding() != IniDocument::Encoding::Cp1252;
        return equals < 0 ? QString()
                          : document.decode(IniReadValue(line.sliced(equals + 1), 256, utf8));
    }
    return {};
}

// The byte range of the section to remove from one family, if any.
std::optional<std::pair<qsizetype, qsizetype>>
sectionToRemove(const QList<ModelLine> &lines, qsizetype byteCount, const char *prefix,
                bool needsCommandLine, const QString &wanted, const IniDocument &document)
{
    for (int i = 0; i <= lines.size(); ++i) {
        const QByteArray name = prefix + QByteArray::number(i);
        const qsizetype header = findHeader(lines, name, document);
        if (header < 0)
            return std::nullopt;
        const QString commandName = readKey(lines, header, "cmdname", document);
        if (commandName.isEmpty() ||
            (needsCommandLine && readKey(lines, header, "cmdline", document).isEmpty()))
            return std::nullopt;
        if (comparable(commandName) != wanted)
            continue;
        qsizetype end = header + 1;
        while (end < lines.size() && !IniHeaderName(lines[end].text))
            ++end;
        return std::pair{lines[header].begin, end < lines.size() ? lines[end].begin : byteCount};
    }
    return std::nullopt;
}

QByteArray expectedAfterRemoval(const QByteArray &before, const QString &name)
{
    const IniDocument document(before);
    const QList<ModelLine> lines = modelLines(before, document);
    const QString wanted = comparable(name);
    QList<std::pair<qsizetype, qsizetype>> ranges;
    for (const auto &[prefix, needsCommandLine] :
         {std::pair{"AuxCommand-", true}, std::pair{"AuxTBarCommand-", false}}) {
        if (const auto range =
                sectionToRemove(lines, before.size(), prefix, needsCommandLine, wanted, document))
            ranges.append(*range);
    }
    std::sort(ranges.begin(), ranges.end());
    QByteArray expected;
    qsizetype kept = 0;
    for (const auto &[from, to] : ranges) {
        expected.append(QByteArrayView(before).sliced(kept, from - kept));
        kept = to;
    }
    expected.append(QByteArrayView(before).sliced(kept));
    return expected;
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
    const QByteArray expected = expectedAfterRemoval(before, name);
    if (after != expected && qEnvironmentVariableIsSet("FUZZ_SHOW"))
        fprintf(stderr, "name %s\nbefore\n%s\nafter\n%s\nexpected\n%s\n", qPrintable(name),
                before.constData(), after.constData(), expected.constData());
    FUZZ_CHECK(after == expected);
    return 0;
}
