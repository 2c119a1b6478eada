#pragma once

#include <QByteArray>
#include <QStringView>

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

// Compact JSON written in the order the fields are added, so the output keeps
// the documented key order ("status", "text", "rows", "hits").
//
// Everything is written into a buffer inside the writer first and handed on a
// buffer at a time, so a character costs a store, not a string append.
class JsonWriter
{
public:
    JsonWriter() = default;
    // Appends to out, so a batch reuses one buffer instead of one per object;
    // out is complete when the writer is gone.
    explicit JsonWriter(std::string &out) : m_out(out) {}
    ~JsonWriter() { flush(); }
    JsonWriter(const JsonWriter &) = delete;
    JsonWriter &operator=(const JsonWriter &) = delete;

    JsonWriter &BeginObject();
    JsonWriter &EndObject();
    JsonWriter &BeginArray();
    JsonWriter &EndArray();
    // key: a plain ASCII name, written as it is.
    template <std::size_t N> JsonWriter &Key(const char (&key)[N])
    {
        static_assert(N + 3 < StageSize);
        separate();
        char *d = room(N + 2);
        *d++ = '"';
        d = std::copy(key, key + N - 1, d);
        *d++ = '"';
        *d++ = ':';
        m_at = d;
        m_needComma = false;
        return *this;
    }
    JsonWriter &Key(QStringView key);
    JsonWriter &String(QStringView value);
    JsonWriter &Number(qint64 value);
    JsonWriter &Null();
    // members: object members already encoded ("a":1,"b":"x"), written as they are.
    JsonWriter &Members(std::string_view members);

    QByteArray Bytes()
    {
        flush();
        return QByteArray(m_out.data(), qsizetype(m_out.size()));
    }

private:
    static constexpr std::size_t StageSize = 4096;

    void separate()
    {
        if (m_needComma)
            put(',');
        m_needComma = true;
    }
    // Where up to bytes bytes (at most StageSize) may be written.
    char *room(std::size_t bytes)
    {
        if (std::size_t(std::end(m_stage) - m_at) < bytes)
            flush();
        return m_at;
    }
    void put(char c)
    {
        *room(1) = c;
        ++m_at;
    }
    void flush()
    {
        m_out.append(m_stage, std::size_t(m_at - m_stage));
        m_at = m_stage;
    }

    std::string m_own;
    std::string &m_out = m_own;
    bool m_needComma = false;
    char m_stage[StageSize];
    char *m_at = m_stage;
};
