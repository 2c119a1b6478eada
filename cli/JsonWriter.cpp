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

void JsonWriter::putUtf8(char32_t c)
{
    if (c < 0x80) {
        m_out += char(c);
    } else if (c < 0x800) {
        m_out += char(0xC0 | (c >> 6));
        m_out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        m_out += char(0xE0 | (c >> 12));
        m_out += char(0x80 | ((c >> 6) & 0x3F));
        m_out += char(0x80 | (c & 0x3F));
    } else {
        m_out += char(0xF0 | (c >> 18));
        m_out += char(0x80 | ((c >> 12) & 0x3F));
        m_out += char(0x80 | ((c >> 6) & 0x3F));
        m_out += char(0x80 | (c & 0x3F));
    }
}

namespace {

bool standsForItself(char16_t c)
{
    return c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\';
}

} // namespace

JsonWriter &JsonWriter::String(QStringView value)
{
    separate();
    m_out += '"';
    const qsizetype size = value.size();
    qsizetype k = 0;
    while (k < size) {
        // Most text is plain ASCII: copied a run at a time.
        qsizetype end = k;
        while (end < size && standsForItself(value[end].unicode()))
            ++end;
        const std::size_t at = m_out.size();
        m_out.resize(at + std::size_t(end - k));
        std::transform(value.begin() + k, value.begin() + end, m_out.begin() + qsizetype(at),
                       [](QChar c) { return char(c.unicode()); });
        k = end < size ? putEscaped(value, end) : end;
    }
    m_out += '"';
    return *this;
}

// Writes the character at k, escaped or in UTF-8; returns the index after it.
qsizetype JsonWriter::putEscaped(QStringView value, qsizetype k)
{
    static const char Hex[] = "0123456789abcdef";
    const char16_t c = value[k].unicode();
    switch (c) {
    case u'"':
        m_out += "\\\"";
        return k + 1;
    case u'\\':
        m_out += "\\\\";
        return k + 1;
    case u'\n':
        m_out += "\\n";
        return k + 1;
    case u'\r':
        m_out += "\\r";
        return k + 1;
    case u'\t':
        m_out += "\\t";
        return k + 1;
    default:
        break;
    }
    if (c < 0x20) {
        m_out += "\\u00";
        m_out += Hex[c >> 4];
        m_out += Hex[c & 0xf];
    } else if (QChar::isHighSurrogate(c) && k + 1 < value.size() && value[k + 1].isLowSurrogate()) {
        putUtf8(QChar::surrogateToUcs4(c, value[k + 1].unicode()));
        return k + 2;
    } else if (QChar::isSurrogate(c)) {
        putUtf8(0xFFFD); // a lone surrogate: the output stays valid UTF-8
    } else {
        putUtf8(c);
    }
    return k + 1;
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
