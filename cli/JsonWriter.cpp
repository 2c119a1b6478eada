#include "JsonWriter.h"

#include "JsonPlainChars.h"

#include <QChar>

#include <algorithm>
#include <charconv>
#include <iterator>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// Copies eight characters at a time while all eight stand for themselves;
// advances p to where that stopped.
char *copyPlainEights([[maybe_unused]] const QChar *&p, [[maybe_unused]] const QChar *stop, char *d)
{
#ifdef __SSE2__
    const __m128i space = _mm_set1_epi16(0x20);
    const __m128i del = _mm_set1_epi16(0x7f);
    const __m128i quote = _mm_set1_epi16('"');
    const __m128i backslash = _mm_set1_epi16('\\');
    for (; stop - p >= 8; p += 8, d += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        // Signed comparisons: a unit from 0x8000 up counts as below a space.
        const __m128i special = _mm_or_si128(
            _mm_or_si128(_mm_cmplt_epi16(units, space), _mm_cmpgt_epi16(units, del)),
            _mm_or_si128(_mm_cmpeq_epi16(units, quote), _mm_cmpeq_epi16(units, backslash)));
        if (_mm_movemask_epi8(special) != 0)
            break;
        _mm_storel_epi64(reinterpret_cast<__m128i *>(d), _mm_packus_epi16(units, units));
    }
#endif
    return d;
}

// Encodes the characters from p up to stop (a surrogate pair may end one
// after it) to d; returns the end of what it wrote.
char *encodeChars(const QChar *&p, const QChar *stop, const QChar *end, char *d)
{
    while (p < stop) {
        d = copyPlainEights(p, stop, d);
        if (p >= stop)
            break;
        const char16_t c = p->unicode();
        if (standsForItself(c)) {
            *d++ = char(c);
            ++p;
        } else {
            d = putSpecial(p, end, d);
        }
    }
    return d;
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
        m_at = encodeChars(p, p + std::min(chars, qsizetype(end - p)), end, m_at);
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
