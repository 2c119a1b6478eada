#include "JsonWriter.h"

#include <QChar>

#include <algorithm>
#include <charconv>
#include <iterator>

JsonWriter::JsonWriter()
{
    m_own.reserve(4096);
}

JsonWriter &JsonWriter::BeginObject()
{
    separate();
    m_out += '{';
    m_needComma = false;
    return *this;
}

JsonWriter &JsonWriter::EndObject()
{
    m_out += '}';
    m_needComma = true;
    return *this;
}

JsonWriter &JsonWriter::BeginArray()
{
    separate();
    m_out += '[';
    m_needComma = false;
    return *this;
}

JsonWriter &JsonWriter::EndArray()
{
    m_out += ']';
    m_needComma = true;
    return *this;
}

JsonWriter &JsonWriter::Key(QStringView key)
{
    String(key);
    m_out += ':';
    m_needComma = false;
    return *this;
}

namespace {

bool standsForItself(char16_t c)
{
    return c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\';
}

char *putUtf8(char32_t c, char *d)
{
    if (c < 0x80) {
        *d++ = char(c);
    } else if (c < 0x800) {
        *d++ = char(0xC0 | (c >> 6));
        *d++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *d++ = char(0xE0 | (c >> 12));
        *d++ = char(0x80 | ((c >> 6) & 0x3F));
        *d++ = char(0x80 | (c & 0x3F));
    } else {
        *d++ = char(0xF0 | (c >> 18));
        *d++ = char(0x80 | ((c >> 12) & 0x3F));
        *d++ = char(0x80 | ((c >> 6) & 0x3F));
        *d++ = char(0x80 | (c & 0x3F));
    }
    return d;
}

char *putShortEscape(char escaped, char *d)
{
    *d++ = '\\';
    *d++ = escaped;
    return d;
}

// Writes the character at p (two for a surrogate pair), escaped or in UTF-8, to
// at most MostBytesPerChar bytes at d; returns the end of what it wrote and
// advances p past what it read.
char *putSpecial(const QChar *&p, const QChar *end, char *d)
{
    static const char Hex[] = "0123456789abcdef";
    const char16_t c = (p++)->unicode();
    switch (c) {
    case u'"':
        return putShortEscape('"', d);
    case u'\\':
        return putShortEscape('\\', d);
    case u'\n':
        return putShortEscape('n', d);
    case u'\r':
        return putShortEscape('r', d);
    case u'\t':
        return putShortEscape('t', d);
    default:
        break;
    }
    if (c < 0x20) {
        const char escaped[] = {'\\', 'u', '0', '0', Hex[c >> 4], Hex[c & 0xf]};
        return std::copy(std::begin(escaped), std::end(escaped), d);
    }
    if (QChar::isHighSurrogate(c) && p != end && p->isLowSurrogate())
        return putUtf8(QChar::surrogateToUcs4(c, (p++)->unicode()), d);
    // A lone surrogate becomes U+FFFD, so the output stays valid UTF-8.
    return putUtf8(QChar::isSurrogate(c) ? 0xFFFD : c, d);
}

} // namespace

JsonWriter &JsonWriter::String(QStringView value)
{
    separate();
    // Encoded into a local buffer and appended a buffer at a time: a character
    // costs a store, not a string append.
    constexpr qsizetype MostBytesPerChar = 6; // \u001f
    char buffer[2048];
    if (value.size() > qsizetype(sizeof(buffer))) {
        // Room for plain text and some escapes up front: a long text grown
        // by doubling would be copied over and over into fresh memory.
        m_out.reserve(m_out.size() + std::size_t(value.size() + value.size() / 8 + 2));
    }
    char *d = buffer;
    *d++ = '"';
    const QChar *p = value.begin();
    const QChar *const end = value.end();
    while (p != end) {
        const qsizetype room = (std::end(buffer) - d) / MostBytesPerChar - 1;
        if (room <= 0) {
            m_out.append(buffer, std::size_t(d - buffer));
            d = buffer;
            continue;
        }
        const QChar *const stop = p + std::min(room, qsizetype(end - p));
        while (p < stop) {
            const char16_t c = p->unicode();
            if (standsForItself(c)) {
                *d++ = char(c);
                ++p;
            } else {
                d = putSpecial(p, end, d);
            }
        }
    }
    *d++ = '"';
    m_out.append(buffer, std::size_t(d - buffer));
    return *this;
}

JsonWriter &JsonWriter::Number(qint64 value)
{
    separate();
    char digits[24];
    const auto [end, error] = std::to_chars(std::begin(digits), std::end(digits), value);
    m_out.append(digits, std::size_t(end - digits));
    return *this;
}

JsonWriter &JsonWriter::Null()
{
    separate();
    m_out += "null";
    return *this;
}
