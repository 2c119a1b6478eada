#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include <unistd.h>

// Files of a fuzz run live in memory (tmpfs), one folder per process, so
// parallel runs never meet and the disk is never worn.
inline QString ScratchFolder()
{
    static const QString folder = [] {
        const QString path = QStringLiteral("/dev/shm/ordalis-fuzz-%1").arg(qint64(::getpid()));
        QDir().mkpath(path);
        return path;
    }();
    return folder;
}

inline QString ScratchFile(const QString &name)
{
    return ScratchFolder() + u'/' + name;
}

inline void WriteWhole(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        __builtin_trap();
    file.write(bytes.data(), bytes.size());
}

inline QByteArray ReadWhole(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The lines of an INI file as its reader sees them: every run of CR and LF
// ends one.
inline QList<QByteArrayView> IniLines(QByteArrayView bytes)
{
    QList<QByteArrayView> lines;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype start = pos;
        while (pos < bytes.size() && bytes[pos] != '\r' && bytes[pos] != '\n')
            ++pos;
        lines.append(bytes.sliced(start, pos - start));
        while (pos < bytes.size() && (bytes[pos] == '\r' || bytes[pos] == '\n'))
            ++pos;
    }
    return lines;
}

inline bool IsIniWhite(char c)
{
    return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1A || c == ' ';
}

inline QByteArrayView IniTrimmed(QByteArrayView text)
{
    while (!text.isEmpty() && IsIniWhite(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && IsIniWhite(text.back()))
        text.chop(1);
    return text;
}

// The section name when the line is a header, else nothing.
inline std::optional<QByteArrayView> IniHeaderName(QByteArrayView line)
{
    const QByteArrayView text = IniTrimmed(line);
    if (text.isEmpty() || text.front() != '[')
        return std::nullopt;
    const qsizetype close = text.lastIndexOf(']');
    if (close <= 0)
        return std::nullopt;
    return IniTrimmed(text.sliced(1, close - 1));
}

// What a read with a buffer of `buffer` bytes gives for a stored value; in a
// UTF-8 file the cut moves back to the start of a character.
inline QByteArray IniReadValue(QByteArrayView value, qsizetype buffer, bool utf8 = false)
{
    QByteArrayView source = IniTrimmed(value);
    qsizetype take = std::min(source.size(), buffer - 1);
    if (source.size() >= 2 && (source.front() == '"' || source.front() == '\'') &&
        source.back() == source.front()) {
        source = source.sliced(1);
        take = std::min(source.size(), buffer - 1);
        if (buffer >= source.size())
            take = std::max<qsizetype>(take - 1, 0);
    }
    while (utf8 && take > 0 && take < source.size() &&
           (static_cast<unsigned char>(source[take]) & 0xC0) == 0x80)
        --take;
    const QByteArray text = source.first(take).toByteArray();
    // The value travels as a C string.
    const qsizetype nul = text.indexOf('\0');
    return nul < 0 ? text : text.left(nul);
}

// Stops the fuzzer with the failed invariant's text; libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            fprintf(stderr, "invariant failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);     \
            abort();                                                                               \
        }                                                                                          \
    } while (0)
