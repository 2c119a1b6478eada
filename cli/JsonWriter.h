#pragma once

#include <QByteArray>
#include <QStringView>

#include <string>

// Compact JSON written in the order the fields are added, so the output keeps
// the documented key order ("status", "text", "rows", "hits").
class JsonWriter
{
public:
    JsonWriter();

    JsonWriter &BeginObject();
    JsonWriter &EndObject();
    JsonWriter &BeginArray();
    JsonWriter &EndArray();
    // key: a plain ASCII name, written as it is.
    JsonWriter &Key(const char *key);
    JsonWriter &Key(QStringView key);
    JsonWriter &String(QStringView value);
    JsonWriter &Number(qint64 value);
    JsonWriter &Null();

    QByteArray Bytes() const { return QByteArray(m_out.data(), qsizetype(m_out.size())); }

private:
    void separate();
    void putUtf8(char32_t c);

    std::string m_out;
    bool m_needComma = false;
};
