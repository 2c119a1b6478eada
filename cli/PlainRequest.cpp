#include "PlainRequest.h"

#include <QStringDecoder>

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
    // A JSON string after its opening quote.
    bool readString(QString &out);

private:
    bool readEscape(QString &out);
    bool decodeRun(const char *from, QString &out);

    const char *m_p;
    const char *m_end;
};

bool Scanner::readString(QString &out)
{
    out.clear();
    const char *run = m_p;
    while (m_p != m_end) {
        const auto c = static_cast<unsigned char>(*m_p);
        if (c == '"' || c == '\\') {
            if (!decodeRun(run, out))
                return false;
            ++m_p;
            if (c == '"')
                return true;
            if (!readEscape(out))
                return false;
            run = m_p;
        } else if (c < 0x20) {
            return false; // a raw control character is no JSON
        } else {
            ++m_p;
        }
    }
    return false;
}

// The bytes since from as UTF-8, refused when invalid, as the JSON parser refuses them.
bool Scanner::decodeRun(const char *from, QString &out)
{
    if (from == m_p)
        return true;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    out += utf8(QByteArrayView(from, m_p - from));
    return !utf8.hasError();
}

bool Scanner::readEscape(QString &out)
{
    if (m_p == m_end)
        return false;
    const char c = *m_p++;
    switch (c) {
    case '"':
    case '\\':
    case '/':
        out += QLatin1Char(c);
        return true;
    case 'b':
        out += u'\b';
        return true;
    case 'f':
        out += u'\f';
        return true;
    case 'n':
        out += u'\n';
        return true;
    case 'r':
        out += u'\r';
        return true;
    case 't':
        out += u'\t';
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
    out += QChar(code);
    return true;
}

} // namespace

bool ReadPlainRequest(QByteArrayView line, PlainRequest &request)
{
    Scanner scan(line);
    if (!scan.take('{'))
        return false;
    bool haveText = false;
    bool haveSeparator = false;
    request.separator.clear();
    QString key;
    QString value;
    bool first = true;
    while (!scan.peek('}')) {
        if ((!first && !scan.take(',')) || !scan.take('"') || !scan.readString(key) ||
            !scan.take(':'))
            return false;
        first = false;
        const bool isNull = scan.takeNull();
        if (!isNull && (!scan.take('"') || !scan.readString(value)))
            return false;
        if (key == u"text") {
            if (isNull || haveText)
                return false;
            haveText = true;
            request.text = value;
        } else if (key == u"separator") {
            if (haveSeparator)
                return false;
            haveSeparator = true;
            request.separator = isNull ? QString() : value;
        }
    }
    return scan.take('}') && scan.atEnd() && haveText;
}
