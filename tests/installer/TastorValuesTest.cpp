// Path rules, switch values and ACT! answers as the installer reads them.

#include "common/CaseFile.h"
#include "installer/ActResults.h"
#include "installer/ButtonFile.h"
#include "installer/TastorPaths.h"

#include "act/ActObject.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

using TastorValues = CaseFileTest<>;

TEST_P(TastorValues, Hold)
{
    for (const auto &[command, argument] : GetParam().lines) {
        SCOPED_TRACE((command + u' ' + argument).toStdString());
        const QStringList f = argument.split(u'|');
        if (command == u"switch") {
            QLocale::setDefault(QLocale(f[0]));
            const std::optional<bool> on = SwitchFromText(f[1]);
            EXPECT_EQ(on ? QString::number(*on) : u"none"_s, f[2]);
            continue;
        }
        const PathRules rules = command == u"posix" ? PathRules::Posix() : PathRules::Windows();
        const QString own = rules.DriveColon ? u"C:\\T"_s : u"/opt/t"_s;
        EXPECT_EQ(ResolvePath(f[0], own, rules), f[1]);
        EXPECT_EQ(FolderOf(f[0], rules), f[2]);
    }
    QLocale::setDefault(QLocale::c());
}

INSTANTIATE_TEST_SUITE_P(File, TastorValues, CasesOf(ORDALIS_TEST_DATA "/values-cases.txt"),
                         CaseTestName);

// A resolved bare name has the own folder, separator included, as its folder.
TEST(TastorPaths, ResolvedBareNameKeepsItsFolder)
{
    const PathRules posix = PathRules::Posix();
    EXPECT_EQ(FolderOf(ResolvePath(u"prog"_s, u"/opt/t/"_s, posix), posix), u"/opt/t/"_s);
}

TEST(ActAnswers, EmptyAddResultCountsAsZeroAndGarbageEndsTheRun)
{
    EXPECT_EQ(ActResultToLong(QVariant()), 0);
    EXPECT_EQ(ActResultToLong(QString()), 0);
    EXPECT_EQ(ActResultToLong(u"3"_s), 3);
    EXPECT_EQ(ActResultToLong(true), -1);
    EXPECT_THROW(ActResultToLong(u"fehlgeschlagen"_s), ActError);
    EXPECT_THROW(ActResultToLong(qint64(1) << 40), ActError);
}

} // namespace
