#pragma once

// Test cases kept as data: a file of "case NAME" blocks, each a list of
// "command argument" lines; "#" lines and blank lines are comments.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <utility>
#include <vector>

struct DataCase
{
    QString name;
    std::vector<std::pair<QString, QString>> lines; // command, rest of the line

    QString value(const QString &command) const
    {
        for (const auto &[c, argument] : lines)
            if (c == command)
                return argument;
        return {};
    }
    bool has(const QString &command) const
    {
        for (const auto &line : lines)
            if (line.first == command)
                return true;
        return false;
    }
};

inline std::vector<DataCase> ReadCases(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    std::vector<DataCase> cases;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype blank = line.indexOf(u' ');
        const QString command = line.left(blank);
        const QString argument = blank < 0 ? QString() : line.mid(blank + 1);
        if (command == u"case")
            cases.push_back({argument, {}});
        else if (!cases.empty())
            cases.back().lines.emplace_back(command, argument);
    }
    return cases;
}

// \r \n \t \\ and \xNN: each escape is one byte, other characters their UTF-8.
inline QByteArray Unescape(const QString &text)
{
    QByteArray bytes;
    const QByteArray utf8 = text.toUtf8();
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '\\' || i + 1 == utf8.size()) {
            bytes += utf8[i];
            continue;
        }
        const char kind = utf8[++i];
        if (kind == 'x') {
            bytes += char(utf8.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        } else {
            bytes += kind == 'r' ? '\r' : kind == 'n' ? '\n' : kind == 't' ? '\t' : kind;
        }
    }
    return bytes;
}
