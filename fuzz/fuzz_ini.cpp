// clsINI on any file: reads, a write and a section delete. A write must read
// back what it wrote and leave every other line as it was; a delete removes
// one section's lines and nothing else.
// Input: section, key and value (each up to a NUL byte, as code-page bytes),
// then the file.

#include "FuzzScratch.h"

#include "support/Cp1252.h"
#include "support/clsINI.h"

#include <cstdint>

namespace {

QByteArrayView takeField(QByteArrayView &input)
{
    const qsizetype nul = input.indexOf('\0');
    const QByteArrayView field = nul < 0 ? input : input.first(nul);
    input = nul < 0 ? QByteArrayView() : input.sliced(nul + 1);
    return field;
}

// Control characters go to the file as blanks.
QByteArray asWritten(QByteArrayView text)
{
    QByteArray bytes = text.toByteArray();
    for (char &c : bytes) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return bytes;
}

// Old lines all survive, in order, apart from at most one that is rewritten in
// place; new lines may be added in one place.
void checkOnlyOneLineChanged(QByteArrayView before, QByteArrayView after)
{
    const QList<QByteArrayView> old = IniLines(before);
    const QList<QByteArrayView> now = IniLines(after);
    qsizetype head = 0;
    while (head < old.size() && head < now.size() && old[head] == now[head])
        ++head;
    qsizetype tail = 0;
    while (tail < old.size() - head && tail < now.size() - head &&
           old[old.size() - 1 - tail] == now[now.size() - 1 - tail])
        ++tail;
    const qsizetype oldMiddle = old.size() - head - tail;
    const qsizetype newMiddle = now.size() - head - tail;
    FUZZ_CHECK(oldMiddle == 0 || (oldMiddle == 1 && newMiddle == 1));
}

// The lines removed run from a header of that name (or the file's start, for
// the unnamed section) to the next header.
bool removedBlockIsSection(const QList<QByteArrayView> &old, qsizetype from, qsizetype count,
                           QByteArrayView section)
{
    const std::optional<QByteArrayView> name = IniHeaderName(old[from]);
    if (name ? Cp1252::foldCase(*name) != Cp1252::foldCase(section)
             : from != 0 || !section.isEmpty())
        return false;
    for (qsizetype i = from + 1; i < from + count; ++i) {
        if (IniHeaderName(old[i]))
            return false;
    }
    return from + count == old.size() || IniHeaderName(old[from + count]).has_value();
}

void checkOneSectionRemoved(QByteArrayView before, QByteArrayView after, QByteArrayView section)
{
    const QList<QByteArrayView> old = IniLines(before);
    const QList<QByteArrayView> now = IniLines(after);
    FUZZ_CHECK(now.size() < old.size());
    const qsizetype removed = old.size() - now.size();
    qsizetype head = 0;
    while (head < now.size() && old[head] == now[head])
        ++head;
    for (qsizetype i = head; i < now.size(); ++i)
        FUZZ_CHECK(now[i] == old[i + removed]);
    // Equal lines around the block leave its place open; one place must fit.
    bool fits = removedBlockIsSection(old, head, removed, section);
    for (qsizetype h = head; !fits && h > 0 && old[h - 1] == old[h - 1 + removed]; --h)
        fits = removedBlockIsSection(old, h - 1, removed, section);
    FUZZ_CHECK(fits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray section = takeField(input).toByteArray();
    const QByteArray key = takeField(input).toByteArray();
    const QByteArray value = takeField(input).toByteArray();
    const QByteArray file = input.toByteArray();

    const QString path = ScratchFile(QStringLiteral("fuzz.ini"));
    WriteWhole(path, file);
    clsINI ini;
    ini.setFileName(path);
    clsINI shortBuffer(256);
    shortBuffer.setFileName(path);

    const QString sectionText = Cp1252::toUnicode(section);
    const QString keyText = Cp1252::toUnicode(key);
    const QString valueText = Cp1252::toUnicode(value);
    (void)ini.ReadData(sectionText, keyText, valueText);
    (void)shortBuffer.ReadData(sectionText, keyText, valueText);

    ini.WriteData(sectionText, keyText, valueText);
    const QByteArray written = ReadWhole(path);
    checkOnlyOneLineChanged(file, written);

    // A key that reads as another name (an "=" inside), or a line that reads
    // as a header ("[k" with a "]" in the value), is never found again; every
    // other write reads back.
    const QByteArray storedKey = IniTrimmed(asWritten(key)).toByteArray();
    const QString marker = QStringLiteral("\x01missing");
    const bool readsBack =
        !storedKey.contains('=') && !IniHeaderName(storedKey + '=' + asWritten(value));
    if (readsBack) {
        const QByteArray expected = IniReadValue(asWritten(value), 8192);
        const QString read = ini.ReadData(sectionText, keyText, marker);
        FUZZ_CHECK(read != marker);
        FUZZ_CHECK(Cp1252::fromUnicode(read) == expected);
        FUZZ_CHECK(Cp1252::fromUnicode(shortBuffer.ReadData(sectionText, keyText, marker)) ==
                   IniReadValue(asWritten(value), 256));
    }

    // Writing the same value again changes nothing (a value with white space
    // at its end compares unequal to the trimmed stored one and rewrites its
    // line, still in place).
    QByteArray current = written;
    if (readsBack) {
        ini.WriteData(sectionText, keyText, valueText);
        const QByteArray again = ReadWhole(path);
        const QByteArray writtenValue = asWritten(value);
        if (writtenValue.isEmpty() || !IsIniWhite(writtenValue.back()))
            FUZZ_CHECK(again == written);
        checkOnlyOneLineChanged(written, again);
        current = again;
    }
    ini.DeleteSection(sectionText);
    const QByteArray deleted = ReadWhole(path);
    if (deleted != current)
        checkOneSectionRemoved(current, deleted, asWritten(section));
    return 0;
}
