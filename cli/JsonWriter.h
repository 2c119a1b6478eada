#pragma once

#include <QByteArray>
#include <QStringView>

#include <cstddef>
#include <string>
#include <string_view>

// Compact JSON written in the order the fields are added, so the output keeps
// the documented key order ("status", "text", "rows", "hits").
class JsonWriter
{
public:
    JsonWriter();
    // Appends to out, so a batch reuses one buffer instead of one per object.
    explicit JsonWriter(std::string &out) : m_out(out) {}
    JsonWriter(const JsonWriter &) = delete;
    JsonWriter &operator=(const JsonWriter &) = delete;

    JsonWriter &BeginObject();
    JsonWriter &EndObject();
    JsonWriter &BeginArray();
    JsonWriter &EndArray();
    // key: a plain ASCII name, written as it is.
    template <std::size_t N> JsonWriter &Key(const char (&key)[N])
    {
        separate();
        m_out += '"';
        m_out.append(key, N - 1);
        m_out.append("\":", 2);
        m_needComma = false;
        return *this;
    }
    JsonWriter &Key(QStringView key);
    JsonWriter &String(QStringView value);
    JsonWriter &Number(qint64 value);
    JsonWriter &Null();
    // members: object members already encoded ("a":1,"b":"x"), written as they are.
    JsonWriter &Members(std::string_view members)
    {
        separate();
        m_out += members;
        return *this;
    }

    QByteArray Bytes() const { return QByteArray(m_out.data(), qsizetype(m_out.size())); }

private:
    void separate()
    {
        if (m_needComma)
            m_out += ',';
        m_needComma = true;
    }

    std::string m_own;
    std::string &m_out = m_own;
    bool m_needComma = false;
};
