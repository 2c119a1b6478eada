// Path rules, switch values and ACT! answers as the installer reads them.

#include "QtPrinters.h"
#include "installer/ActResults.h"
#include "installer/ButtonFile.h"
#include "installer/TastorPaths.h"

#include "act/ActObject.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

struct PathCase
{
    const char *what;
    PathRules rules;
    QString path;
    QString resolved; // ResolvePath with the own folder below
    QString folder;   // FolderOf of the path
};

const QString PosixOwn = QStringLiteral("/opt/tastor");
const QString WindowsOwn = QStringLiteral("C:\\Tastor");

TEST(TastorPaths, ResolveAndFolderFollowThePlatformsRules)
{
    const PathRules posix = PathRules::Posix();
    const PathRules windows = PathRules::Windows();
    const PathCase cases[] = {
        {"bare name", posix, u"button.ini"_s, u"/opt/tastor/button.ini"_s, u"button.ini"_s},
        {"absolute path", posix, u"/usr/bin/prog"_s, u"/usr/bin/prog"_s, u"/usr/bin/"_s},
        {"relative path with folder", posix, u"sub/prog"_s, u"sub/prog"_s, u"sub/"_s},
        {"one character stays", posix, u"a"_s, u"a"_s, u"a"_s},
        {"empty stays empty", posix, QString(), QString(), QString()},
        {"trailing separator does not count", posix, u"/usr/bin/"_s, u"/usr/bin/"_s, u"/usr/"_s},
        {"root file", posix, u"/prog"_s, u"/prog"_s, u"/"_s},
        {"backslash is a name character here", posix, u"C:\\x.exe"_s, u"/opt/tastor/C:\\x.exe"_s,
         u"C:\\x.exe"_s},
        {"windows bare name", windows, u"prog.exe"_s, u"C:\\Tastor\\prog.exe"_s, u"prog.exe"_s},
        {"windows full path", windows, u"C:\\Programme\\X\\prog.exe"_s,
         u"C:\\Programme\\X\\prog.exe"_s, u"C:\\Programme\\X\\"_s},
        {"windows drive-relative", windows, u"D:prog.exe"_s, u"D:prog.exe"_s, u"D:"_s},
        {"windows colon after the drive is a name", windows, u"abcde:f"_s, u"C:\\Tastor\\abcde:f"_s,
         u"abcde:f"_s},
        {"windows UNC path", windows, u"\\\\srv\\share\\p.exe"_s, u"\\\\srv\\share\\p.exe"_s,
         u"\\\\srv\\share\\"_s},
        {"windows slash is a name character", windows, u"dir/p.exe"_s, u"C:\\Tastor\\dir/p.exe"_s,
         u"dir/p.exe"_s},
    };
    for (const PathCase &c : cases) {
        const QString own = c.rules.Separator == u'/' ? PosixOwn : WindowsOwn;
        EXPECT_EQ(ResolvePath(c.path, own, c.rules), c.resolved) << c.what;
        EXPECT_EQ(FolderOf(c.path, c.rules), c.folder) << c.what;
    }
}

TEST(TastorPaths, ResolvedBareNameHasItsOwnFolderAsFolder)
{
    // The folder handed to ACT! ends with the separator.
    const QString resolved = ResolvePath(u"prog"_s, u"/opt/t/"_s, PathRules::Posix());
    EXPECT_EQ(resolved, u"/opt/t/prog"_s);
    EXPECT_EQ(FolderOf(resolved, PathRules::Posix()), u"/opt/t/"_s);
}

struct SwitchCase
{
    const char *what;
    QLocale::Language language;
    QString text;
    std::optional<bool> expected;
};

TEST(ButtonSwitches, NumbersAreReadTheUsersWay)
{
    const QLocale saved;
    const SwitchCase cases[] = {
        {"one", QLocale::English, u"1"_s, true},
        {"leading zero", QLocale::English, u"01"_s, true},
        {"blanks around", QLocale::English, u" 1 "_s, true},
        {"zero", QLocale::English, u"0"_s, false},
        {"two", QLocale::English, u"2"_s, false},
        {"minus one", QLocale::English, u"-1"_s, false},
        {"decimal one", QLocale::English, u"1.0"_s, true},
        {"German decimal one", QLocale::German, u"1,0"_s, true},
        {"German fraction", QLocale::German, u"0,5"_s, false},
        {"empty is no number", QLocale::English, QString(), std::nullopt},
        {"word is no number", QLocale::English, u"ja"_s, std::nullopt},
        {"number with tail", QLocale::English, u"1x"_s, std::nullopt},
        {"infinity is no number", QLocale::English, u"inf"_s, std::nullopt},
        {"not-a-number", QLocale::English, u"nan"_s, std::nullopt},
    };
    for (const SwitchCase &c : cases) {
        QLocale::setDefault(QLocale(c.language));
        EXPECT_EQ(SwitchFromText(c.text), c.expected) << c.what;
    }
    QLocale::setDefault(saved);
}

TEST(ActAnswers, AddResultCountsEmptyAsZeroAndRefusesGarbage)
{
    QLocale::setDefault(QLocale::c());
    const struct
    {
        const char *what;
        QVariant answer;
        std::optional<qint32> expected; // nullopt: the answer ends the run
    } cases[] = {
        {"nothing", QVariant(), 0},
        {"empty text", QVariant(QString()), 0},
        {"blank text", QVariant(u"  "_s), 0},
        {"zero", QVariant(0), 0},
        {"short zero", QVariant::fromValue(qint16(0)), 0},
        {"one", QVariant(1), 1},
        {"numeric text", QVariant(u"3"_s), 3},
        {"true is minus one", QVariant(true), -1},
        {"false is zero", QVariant(false), 0},
        {"half rounds to even", QVariant(2.5), 2},
        {"word", QVariant(u"fehlgeschlagen"_s), std::nullopt},
        {"beyond 32 bits", QVariant(qint64(1) << 40), std::nullopt},
    };
    for (const auto &c : cases) {
        std::optional<qint32> got;
        try {
            got = ActResultToLong(c.answer);
        } catch (const ActError &) {
        }
        EXPECT_EQ(got, c.expected) << c.what;
    }
}

TEST(ActAnswers, TruthIsNonZero)
{
    QLocale::setDefault(QLocale::c());
    const struct
    {
        const char *what;
        QVariant answer;
        std::optional<bool> expected; // nullopt: the answer ends the run
    } cases[] = {
        {"nothing", QVariant(), false},
        {"true", QVariant(true), true},
        {"false", QVariant(false), false},
        {"minus one", QVariant(-1), true},
        {"zero", QVariant(0), false},
        {"short one", QVariant::fromValue(qint16(1)), true},
        {"text True", QVariant(u"True"_s), true},
        {"text false", QVariant(u"false"_s), false},
        {"text 0", QVariant(u"0"_s), false},
        {"word", QVariant(u"vielleicht"_s), std::nullopt},
        {"empty text", QVariant(QString()), std::nullopt},
    };
    for (const auto &c : cases) {
        std::optional<bool> got;
        try {
            got = ActResultIsTrue(c.answer);
        } catch (const ActError &) {
        }
        EXPECT_EQ(got, c.expected) << c.what;
    }
}

} // namespace
