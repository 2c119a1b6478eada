#pragma once

#include <QByteArray>
#include <QStringView>

// Compact JSON written in the order the fields are added, so the output keeps
// the documented key order ("status", "text", "rows", "hits").
class JsonWriter
{
public:
    JsonWriter &BeginObject();
    JsonWriter &EndObject();
    JsonWriter &BeginArray();
    JsonWriter &EndArray();
    JsonWriter &Key(QStringView key);
    JsonWriter &String(QStringView value);
    JsonWriter &Number(qint64 value);
    JsonWriter &Null();

    const QByteArray &Bytes() const { return m_out; }

private:
    void separate();

    QByteArray m_out;
    bool m_needComma = false;
};
