#include "JsonWriter.h"

#include "JsonPlainChars.h"

#include <QChar>

#include <algorithm>
#include <charconv>
#include <iterator>

JsonWriter &JsonWriter::BeginObject()
{
    separate();
    put('{');
    m_needComma = false;
    return *this;
}

JsonWriter &JsonWriter::EndObject()
{
    put('}');
    m_needComma = true;
    return *this;
}

JsonWriter &JsonWriter::BeginArray()
{
    separate();
    put('[');
    m_needComma = false;
    return *this;
}

JsonWriter &JsonWriter::EndArray()
{
    put(']');
    m_needComma = true;
    return *this;
}

JsonWriter &JsonWriter::Key(QStringView key)
{
    String(key);
    put(':');
    m_needComma = false;
    return *this;
}

JsonWriter &JsonWriter::Members(std::string_view members)
{
    separate();
    if (members.size() > StageSize) {
        flush();
        m_out += members;
    } else {
        m_at = std::copy(members.begin(), members.end(), room(members.size()));
    }
    return *this;
}

namespace {

bool standsForItself(char16_t c)
{
    return c < JsonPlainChars.size() && JsonPlainChars[c];
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
    constexpr qsizetype MostBytesPerChar = 6; // \u001f
    if (value.size() > qsizetype(StageSize)) {
        // Room for plain text and some escapes up front: a long text grown
        // by doubling would be copied over and over into fresh memory.
        flush();
        m_out.reserve(m_out.size() + std::size_t(value.size() + value.size() / 8 + 2));
    }
    if (value.isEmpty()) {
        m_at = std::copy_n("\"\"", 2, room(2));
        return *this;
    }
    put('"');
    const QChar *p = value.begin();
    const QChar *const end = value.end();
    while (p != end) {
        const qsizetype chars = (std::end(m_stage) - m_at) / MostBytesPerChar - 1;
        if (chars <= 0) {
            flush();
            continue;
        }
        const QChar *const stop = p + std::min(chars, qsizetype(end - p));
        char *d = m_at;
        while (p < stop) {
            const char16_t c = p->unicode();
            if (standsForItself(c)) {
                *d++ = char(c);
                ++p;
            } else {
                d = putSpecial(p, end, d);
            }
        }
        m_at = d;
    }
    put('"');
    return *this;
}

JsonWriter &JsonWriter::Number(qint64 value)
{
    separate();
    char *d = room(24);
    m_at = std::to_chars(d, d + 24, value).ptr;
    return *this;
}

JsonWriter &JsonWriter::Null()
{
    separate();
    m_at = std::copy_n("null", 4, room(4));
    return *this;
}
