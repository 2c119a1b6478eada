// IniProfile on any file: reads, a write and a section delete. A write must read
// back what it wrote and leave every other line as it was; a delete removes
// one section's lines and nothing else.
// Input: section, key and value (each up to a NUL byte, as Windows-1252 bytes),
// then the file. A write may turn an ASCII file into valid UTF-8, which later
// calls read as such; the checks compare bytes in the encoding of the moment.

#include "FuzzScratch.h"

#include "support/Cp1252.h"
#include "support/IniFile.h"
#include "support/IniProfile.h"

#include <cstdint>

namespace {

QByteArrayView takeField(QByteArrayView &input)
{
    const qsizetype nul = input.indexOf('\0');
    const QByteArrayView field = nul < 0 ? input : input.first(nul);
    input = nul < 0 ? QByteArrayView() : input.sliced(nul + 1);
    return field;
}

bool isUtf8(const IniDocument &document)
{
    return document.encoding() != IniDocument::Encoding::Cp1252;
}

// The lines after the UTF-8 mark, which stays in front of them.
QByteArrayView body(QByteArrayView bytes, const IniDocument &document)
{
    if (document.encoding() != IniDocument::Encoding::Utf8WithMark)
        return bytes;
    FUZZ_CHECK(bytes.startsWith("\xEF\xBB\xBF"));
    return bytes.sliced(3);
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
                           QByteArrayView section, const IniDocument &document)
{
    const std::optional<QByteArrayView> name = IniHeaderName(old[from]);
    if (name ? document.foldedName(*name) != document.foldedName(section)
             : from != 0 || !section.isEmpty())
        return false;
    for (qsizetype i = from + 1; i < from + count; ++i) {
        if (IniHeaderName(old[i]))
            return false;
    }
    return from + count == old.size() || IniHeaderName(old[from + count]).has_value();
}

void checkOneSectionRemoved(QByteArrayView before, QByteArrayView after, QByteArrayView section,
                            const IniDocument &document)
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
    bool fits = removedBlockIsSection(old, head, removed, section, document);
    for (qsizetype h = head; !fits && h > 0 && old[h - 1] == old[h - 1 + removed]; --h)
        fits = removedBlockIsSection(old, h - 1, removed, section, document);
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
    IniProfile ini;
    ini.setFileName(path);
    IniProfile shortBuffer(256);
    shortBuffer.setFileName(path);

    const QString sectionText = Cp1252::toUnicode(section);
    const QString keyText = Cp1252::toUnicode(key);
    const QString valueText = Cp1252::toUnicode(value);
    (void)ini.ReadData(sectionText, keyText, valueText);
    (void)shortBuffer.ReadData(sectionText, keyText, valueText);

    const std::shared_ptr<const IniDocument> before = IniFile::load(path);
    const QByteArray sectionBytes = before->fileText(sectionText).value();
    const QByteArray keyBytes = before->fileText(keyText).value();
    const QByteArray valueBytes = before->fileText(valueText).value();
    ini.WriteData(sectionText, keyText, valueText);
    const QByteArray written = ReadWhole(path);
    checkOnlyOneLineChanged(body(file, *before), body(written, *before));

    // From here on the texts are those the file now holds.
    const std::shared_ptr<const IniDocument> after = IniFile::load(path);
    const QString sectionNow = after->decode(sectionBytes);
    const QString keyNow = after->decode(keyBytes);
    const QString valueNow = after->decode(valueBytes);

    // A key that reads as another name (an "=" inside), or a line that reads
    // as a header ("[k" with a "]" in the value), is never found again; every
    // other write reads back.
    const QByteArray storedKey = IniTrimmed(keyBytes).toByteArray();
    const QString marker = QStringLiteral("\x01missing");
    const bool readsBack = !storedKey.contains('=') && !IniHeaderName(storedKey + '=' + valueBytes);
    if (readsBack) {
        const QByteArray expected = IniReadValue(valueBytes, 8192, isUtf8(*after));
        const QString read = ini.ReadData(sectionNow, keyNow, marker);
        FUZZ_CHECK(read != marker);
        FUZZ_CHECK(after->encode(read) == expected);
        FUZZ_CHECK(after->encode(shortBuffer.ReadData(sectionNow, keyNow, marker)) ==
                   IniReadValue(valueBytes, 256, isUtf8(*after)));
    }

    // Writing the same value again changes nothing (a value with white space
    // at its end compares unequal to the trimmed stored one and rewrites its
    // line, still in place).
    QByteArray current = written;
    if (readsBack) {
        ini.WriteData(sectionNow, keyNow, valueNow);
        const QByteArray again = ReadWhole(path);
        if (valueBytes.isEmpty() || !IsIniWhite(valueBytes.back()))
            FUZZ_CHECK(again == written);
        checkOnlyOneLineChanged(body(written, *after), body(again, *after));
        current = again;
    }
    const std::shared_ptr<const IniDocument> last = IniFile::load(path);
    ini.DeleteSection(sectionNow);
    const QByteArray deleted = ReadWhole(path);
    if (deleted != current)
        checkOneSectionRemoved(body(current, *last), body(deleted, *last), sectionBytes, *last);
    return 0;
}
