#include "PlainRequest.h"

#include "JsonPlainChars.h"

#include <QStringDecoder>

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class Scanner
{
public:
    explicit Scanner(QByteArrayView line) : m_p(line.begin()), m_end(line.end()) {}

    void skipBlanks()
    {
        while (m_p != m_end && (*m_p == ' ' || *m_p == '\t' || *m_p == '\n' || *m_p == '\r'))
            ++m_p;
    }
    bool take(char c)
    {
        skipBlanks();
        if (m_p == m_end || *m_p != c)
            return false;
        ++m_p;
        return true;
    }
    bool takeNull()
    {
        skipBlanks();
        if (m_end - m_p < 4 || QByteArrayView(m_p, 4) != "null")
            return false;
        m_p += 4;
        return true;
    }
    bool atEnd()
    {
        skipBlanks();
        return m_p == m_end;
    }
    bool peek(char c)
    {
        skipBlanks();
        return m_p != m_end && *m_p == c;
    }
    // A JSON string after its opening quote, written into out in place.
    bool readString(QString &out);
    // A key after its opening quote; keys are plain ASCII names, anything else
    // is read as a string.
    bool readKey(QString &scratch, QByteArrayView &key);

private:
    qsizetype boundOfString() const;
    bool readEscape(QChar *&d);
    QChar *decodeNonAscii(QStringDecoder &utf8, QChar *d);
    QChar *copyPlainRun(QChar *d);

    const char *m_p;
    const char *m_end;
};

// No more UTF-16 units than bytes up to the closing quote.
qsizetype Scanner::boundOfString() const
{
    for (const char *p = m_p; p != m_end; ++p) {
        p = static_cast<const char *>(std::memchr(p, '"', std::size_t(m_end - p)));
        if (p == nullptr)
            break;
        const char *escapes = p;
        while (escapes != m_p && escapes[-1] == '\\')
            --escapes;
        if ((p - escapes) % 2 == 0)
            return p - m_p;
    }
    return m_end - m_p;
}

bool Scanner::readString(QString &out)
{
    // Written in place into a buffer that keeps its capacity from line to line.
    out.truncate(0);
    out.resize(boundOfString());
    QChar *d = out.data();
    // Invalid UTF-8 is refused, as the JSON parser refuses it.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    while (m_p != m_end) {
        d = copyPlainRun(d);
        if (m_p == m_end)
            break;
        const auto c = static_cast<unsigned char>(*m_p);
        if (c >= 0x80) {
            d = decodeNonAscii(utf8, d);
        } else if (c == '"') {
            ++m_p;
            out.truncate(d - out.constData());
            return !utf8.hasError();
        } else if (c == '\\') {
            ++m_p;
            if (!readEscape(d))
                return false;
        } else {
            return false; // a raw control character is no JSON
        }
    }
    return false;
}

// Most of a text is ASCII that stands for itself: copied sixteen bytes at a
// time where SSE2 is there, the rest one by one.
QChar *Scanner::copyPlainRun(QChar *d)
{
#ifdef __SSE2__
    const __m128i space = _mm_set1_epi8(0x20);
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i zero = _mm_setzero_si128();
    for (; m_end - m_p >= 16; m_p += 16, d += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(m_p));
        // Signed comparison: a byte from 0x80 up counts as below a space.
        const __m128i special = _mm_or_si128(
            _mm_cmplt_epi8(bytes, space),
            _mm_or_si128(_mm_cmpeq_epi8(bytes, quote), _mm_cmpeq_epi8(bytes, backslash)));
        if (_mm_movemask_epi8(special) != 0)
            break;
        _mm_storeu_si128(reinterpret_cast<__m128i *>(d), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(d + 8), _mm_unpackhi_epi8(bytes, zero));
    }
#endif
    for (; m_p != m_end && JsonPlainChars[static_cast<unsigned char>(*m_p)]; ++m_p)
        *d++ = QChar(char16_t(static_cast<unsigned char>(*m_p)));
    return d;
}

// A run of bytes from 0x80 up holds whole UTF-8 sequences when it is valid, as
// no ASCII byte continues a sequence.
QChar *Scanner::decodeNonAscii(QStringDecoder &utf8, QChar *d)
{
    const char *const start = m_p;
    while (m_p != m_end && static_cast<unsigned char>(*m_p) >= 0x80)
        ++m_p;
    return utf8.appendToBuffer(d, QByteArrayView(start, m_p - start));
}

bool Scanner::readKey(QString &scratch, QByteArrayView &key)
{
    const char *const start = m_p;
    while (m_p != m_end && JsonPlainChars[static_cast<unsigned char>(*m_p)])
        ++m_p;
    if (m_p != m_end && *m_p == '"') {
        key = QByteArrayView(start, m_p - start);
        ++m_p;
        return true;
    }
    m_p = start;
    if (!readString(scratch))
        return false;
    key = {};
    return true;
}

bool Scanner::readEscape(QChar *&d)
{
    if (m_p == m_end)
        return false;
    const char c = *m_p++;
    switch (c) {
    case '"':
    case '\\':
    case '/':
        *d++ = QLatin1Char(c);
        return true;
    case 'b':
        *d++ = u'\b';
        return true;
    case 'f':
        *d++ = u'\f';
        return true;
    case 'n':
        *d++ = u'\n';
        return true;
    case 'r':
        *d++ = u'\r';
        return true;
    case 't':
        *d++ = u'\t';
        return true;
    case 'u':
        break;
    default:
        return false;
    }
    char16_t code = 0;
    for (int k = 0; k < 4; ++k, ++m_p) {
        const int digit = m_p == m_end ? -1 : hexDigit(*m_p);
        if (digit < 0)
            return false;
        code = char16_t(code * 16 + digit);
    }
    // Surrogate pairs are left to the full parser.
    if (QChar::isSurrogate(code))
        return false;
    *d++ = QChar(code);
    return true;
}

// What a request has read so far.
struct RequestReading
{
    explicit RequestReading(PlainRequest &request) : request(request) {}

    PlainRequest &request;
    QString scratch; // a key that needed decoding, or the value of another key
    bool haveText = false;
    bool haveSeparator = false;
};

bool named(QByteArrayView key, const QString &decoded, QByteArrayView name)
{
    return key.isNull() ? QStringView(decoded) == QLatin1StringView(name) : key == name;
}

// One "key": value member; false when it is no plain request's member.
bool readMember(Scanner &scan, RequestReading &reading)
{
    QByteArrayView key;
    if (!scan.take('"') || !scan.readKey(reading.scratch, key) || !scan.take(':'))
        return false;
    const bool text = named(key, reading.scratch, "text");
    const bool separator = named(key, reading.scratch, "separator");
    if ((text && reading.haveText) || (separator && reading.haveSeparator))
        return false;
    reading.haveText = reading.haveText || text;
    reading.haveSeparator = reading.haveSeparator || separator;
    QString &value =
        text ? reading.request.text : (separator ? reading.request.separator : reading.scratch);
    if (scan.takeNull()) {
        value.clear();
        return !text;
    }
    return scan.take('"') && scan.readString(value);
}

} // namespace

bool ReadPlainRequest(QByteArrayView line, PlainRequest &request)
{
    Scanner scan(line);
    if (!scan.take('{'))
        return false;
    request.separator.clear();
    RequestReading reading(request);
    for (bool first = true; !scan.peek('}'); first = false) {
        if ((!first && !scan.take(',')) || !readMember(scan, reading))
            return false;
    }
    return scan.take('}') && scan.atEnd() && reading.haveText;
}
