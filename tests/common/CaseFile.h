#pragma once

// Test cases kept as data: a file of "case NAME" blocks, each a list of
// "command argument" lines; "#" lines and blank lines are comments.

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

struct DataCase
{
    QString name;
    std::string testName; // the name as a test's: letters, digits and _, unique in its file
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
            cases.push_back({argument, {}, {}});
        else if (!cases.empty())
            cases.back().lines.emplace_back(command, argument);
    }
    return cases;
}

// A file's cases as the parameters of a TEST_P, each test named after its case
// ("read: found value" runs as File/IniCases.Run/read_found_value), so a filter
// runs one case and a failure names it. A file without cases leaves the suite
// uninstantiated, which GoogleTest fails:
//   INSTANTIATE_TEST_SUITE_P(File, IniCases, CasesOf(ORDALIS_TEST_DATA "/ini-cases.txt"),
//                            CaseTestName);
template <class Fixture = ::testing::Test>
class CaseFileTest : public Fixture, public ::testing::WithParamInterface<DataCase>
{};

inline ::testing::internal::ParamGenerator<DataCase> CasesOf(const char *path)
{
    static const QRegularExpression other(QStringLiteral("[^A-Za-z0-9]+"));
    std::vector<DataCase> cases = ReadCases(QString::fromUtf8(path));
    std::set<std::string> taken;
    for (size_t i = 0; i < cases.size(); ++i) {
        std::string name = cases[i].name.split(other, Qt::SkipEmptyParts).join(u'_').toStdString();
        // Names that differ only in punctuation get their place in the file.
        if (name.empty() || !taken.insert(name).second)
            name += '_' + std::to_string(i + 1);
        cases[i].testName = name;
    }
    return ::testing::ValuesIn(cases);
}

inline std::string CaseTestName(const ::testing::TestParamInfo<DataCase> &info)
{
    return info.param.testName;
}

// What GoogleTest prints for a case: its name as the file gives it.
inline void PrintTo(const DataCase &c, std::ostream *out)
{
    *out << c.name.toStdString();
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
