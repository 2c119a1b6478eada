#include "Cp1252.h"

#include <array>

namespace {

// 0x80-0x9F; the unassigned positions keep their C1 code point.
constexpr char16_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char encodeOne(char32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return char(code);
    for (int i = 0; i < 32; ++i) {
        if (HighControls[i] == code)
            return char(0x80 + i);
    }
    return '?';
}

constexpr std::array<unsigned char, 256> makeFoldTable()
{
    std::array<unsigned char, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[c] = static_cast<unsigned char>(c + 0x20);
    for (int c = 0xC0; c <= 0xDE; ++c) {
        if (c != 0xD7) // the multiplication sign has no lower case
            table[c] = static_cast<unsigned char>(c + 0x20);
    }
    table[0x8A] = 0x9A; // Š
    table[0x8C] = 0x9C; // Œ
    table[0x8E] = 0x9E; // Ž
    table[0x9F] = 0xFF; // Ÿ
    return table;
}

constexpr std::array<unsigned char, 256> FoldTable = makeFoldTable();

} // namespace

namespace Cp1252 {

QByteArray fromUnicode(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i; // one code point, one replacement
            bytes.append('?');
            continue;
        }
        bytes.append(encodeOne(unit.unicode()));
    }
    return bytes;
}

QString missing(QStringView text)
{
    QString lacking;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QStringView character = text.sliced(i, 1);
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            character = text.sliced(i++, 2);
        else if (encodeOne(text[i].unicode()) != '?' || text[i] == u'?')
            continue;
        if (!lacking.contains(character))
            lacking.append(character);
    }
    return lacking;
}

QString toUnicode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out[i] = (byte >= 0x80 && byte < 0xA0) ? QChar(HighControls[byte - 0x80])
                                               : QChar(char16_t(byte));
    }
    return text;
}

char foldCase(char byte)
{
    return char(FoldTable[static_cast<unsigned char>(byte)]);
}

QByteArray foldCase(QByteArrayView bytes)
{
    QByteArray folded(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        folded[i] = foldCase(bytes[i]);
    return folded;
}

} // namespace Cp1252
