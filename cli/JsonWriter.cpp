#include "JsonWriter.h"

void JsonWriter::separate()
{
    if (m_needComma)
        m_out += ',';
    m_needComma = true;
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

JsonWriter &JsonWriter::String(QStringView value)
{
    separate();
    m_out += '"';
    static const char Hex[] = "0123456789abcdef";
    qsizetype plainFrom = 0;
    const auto flush = [&](qsizetype upTo) {
        if (upTo > plainFrom)
            m_out += value.sliced(plainFrom, upTo - plainFrom).toUtf8();
    };
    for (qsizetype k = 0; k < value.size(); ++k) {
        const char16_t c = value[k].unicode();
        if (c >= 0x20 && c != u'"' && c != u'\\')
            continue;
        flush(k);
        plainFrom = k + 1;
        switch (c) {
        case u'"':
            m_out += "\\\"";
            break;
        case u'\\':
            m_out += "\\\\";
            break;
        case u'\n':
            m_out += "\\n";
            break;
        case u'\r':
            m_out += "\\r";
            break;
        case u'\t':
            m_out += "\\t";
            break;
        default:
            m_out += "\\u00";
            m_out += Hex[c >> 4];
            m_out += Hex[c & 0xf];
        }
    }
    flush(value.size());
    m_out += '"';
    return *this;
}

JsonWriter &JsonWriter::Number(qint64 value)
{
    separate();
    m_out += QByteArray::number(value);
    return *this;
}

JsonWriter &JsonWriter::Null()
{
    separate();
    m_out += "null";
    return *this;
}
