// Path rules, switch values and ACT! answers as the installer reads them.

#include "common/TestFiles.h"
#include "installer/ActResults.h"
#include "installer/ButtonFile.h"
#include "installer/TastorPaths.h"

#include "act/ActObject.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

TEST(TastorPaths, ResolveAndFolderFollowThePlatformsRules)
{
    const PathRules posix = PathRules::Posix(), windows = PathRules::Windows();
    const struct
    {
        PathRules rules;
        QString path, resolved, folder; // resolved against /opt/t or C:\T
    } cases[] = {
        {posix, u"prog"_s, u"/opt/t/prog"_s, u"prog"_s},
        {posix, u"/usr/bin/prog"_s, u"/usr/bin/prog"_s, u"/usr/bin/"_s},
        {posix, u"sub/prog"_s, u"sub/prog"_s, u"sub/"_s},
        {posix, u"/usr/bin/"_s, u"/usr/bin/"_s, u"/usr/"_s},
        {posix, u"a"_s, u"a"_s, u"a"_s},
        {posix, QString(), QString(), QString()},
        {posix, u"C:\\x"_s, u"/opt/t/C:\\x"_s, u"C:\\x"_s},
        {windows, u"prog.exe"_s, u"C:\\T\\prog.exe"_s, u"prog.exe"_s},
        {windows, u"C:\\P\\X\\p.exe"_s, u"C:\\P\\X\\p.exe"_s, u"C:\\P\\X\\"_s},
        {windows, u"D:p.exe"_s, u"D:p.exe"_s, u"D:"_s},
        {windows, u"abcde:f"_s, u"C:\\T\\abcde:f"_s, u"abcde:f"_s},
        {windows, u"\\\\srv\\s\\p.exe"_s, u"\\\\srv\\s\\p.exe"_s, u"\\\\srv\\s\\"_s},
    };
    for (const auto &c : cases) {
        const QString own = c.rules.DriveColon ? u"C:\\T"_s : u"/opt/t"_s;
        EXPECT_EQ(ResolvePath(c.path, own, c.rules), c.resolved) << c.path.toStdString();
        EXPECT_EQ(FolderOf(c.path, c.rules), c.folder) << c.path.toStdString();
    }
    // A resolved bare name has the own folder, separator included, as its folder.
    EXPECT_EQ(FolderOf(ResolvePath(u"prog"_s, u"/opt/t/"_s, posix), posix), u"/opt/t/"_s);
}

TEST(ButtonSwitches, NumbersAreReadTheUsersWay)
{
    const struct
    {
        QLocale::Language language;
        QString text;
        std::optional<bool> on; // nullopt: no number, the run ends
    } cases[] = {
        {QLocale::English, u"1"_s, true},   {QLocale::English, u"01"_s, true},
        {QLocale::English, u"1.0"_s, true}, {QLocale::German, u"1,0"_s, true},
        {QLocale::German, u"0,5"_s, false}, {QLocale::English, u"0"_s, false},
        {QLocale::English, u"2"_s, false},  {QLocale::English, u"-1"_s, false},
        {QLocale::English, QString(), {}},  {QLocale::English, u"ja"_s, {}},
        {QLocale::English, u"1x"_s, {}},    {QLocale::English, u"inf"_s, {}},
    };
    for (const auto &c : cases) {
        QLocale::setDefault(QLocale(c.language));
        EXPECT_EQ(SwitchFromText(c.text), c.on) << c.text.toStdString();
    }
    QLocale::setDefault(QLocale::c());
}

std::optional<qint32> longOf(const QVariant &answer)
{
    try {
        return ActResultToLong(answer);
    } catch (const ActError &) {
        return std::nullopt;
    }
}

TEST(ActAnswers, EmptyAddResultCountsAsZeroAndGarbageEndsTheRun)
{
    EXPECT_EQ(longOf(QVariant()), 0);
    EXPECT_EQ(longOf(QString()), 0);
    EXPECT_EQ(longOf(u"3"_s), 3);
    EXPECT_EQ(longOf(true), -1);
    EXPECT_EQ(longOf(u"fehlgeschlagen"_s), std::nullopt);
    EXPECT_EQ(longOf(qint64(1) << 40), std::nullopt);
}

} // namespace
