#include "StandinFixture.h"
#include "common/CaseFile.h"

#include "act/standin/ActCommandFile.h"
#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"
#include "act/standin/StandinRunLock.h"
#include "standin/StandinOptions.h"
#include "support/Registry.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

class StandinProgram : public StandinFixture
{};

QJsonObject parseJson(const QString &text)
{
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

} // namespace

using CommandLines = CaseFileTest<>;

TEST_P(CommandLines, Parse)
{
    const DataCase &c = GetParam();
    const QStringList modes{u"Window"_s, u"Headless"_s, u"Query"_s, u"Export"_s, u"Import"_s};
    const QString arguments = c.value(u"args"_s);
    const StandinOptions options =
        StandinOptions::Parse(arguments.isEmpty() ? QStringList() : arguments.split(u'|'));
    EXPECT_EQ(options.error.isEmpty(), !c.has(u"refused"_s));
    if (!options.error.isEmpty())
        return;
    EXPECT_EQ(modes.value(int(options.mode)), c.value(u"mode"_s));
    EXPECT_EQ(options.noDatabase, c.has(u"no-database"_s));
    EXPECT_EQ(options.fieldCount.value_or(-1),
              c.has(u"fields"_s) ? c.value(u"fields"_s).toInt() : -1);
}

INSTANTIATE_TEST_SUITE_P(File, CommandLines, CasesOf(ORDALIS_TEST_DATA "/command-lines.txt"),
                         CaseTestName);

TEST_F(StandinProgram, RecordsItsFolderWithoutTrailingSeparator)
{
    qputenv("ACT_STANDIN_HOME", (Home() + u"//"_s).toLocal8Bit());
    ASSERT_TRUE(StartStandin());
    EXPECT_EQ(IniFileRegistry(RegistryFile()).ReadString(ActAppPathsKey, ActAppPathsValue),
              std::optional<QString>(Home()));
}

TEST_F(StandinProgram, ASecondInstanceIsRefusedAndSigtermReleasesTheLock)
{
    ASSERT_TRUE(StartStandin());
    QString error;
    EXPECT_NE(RunStandin({u"--headless"_s}, nullptr, &error), 0);
    EXPECT_TRUE(error.contains(u"läuft bereits"_s)) << error.toStdString();
    ContactDatabase::Open(ContactDatabasePath())->AddNewContact();
    EXPECT_EQ(StopStandin(), 0);
    EXPECT_FALSE(StandinRunLock::IsHeld(RunLockPath()));
    ASSERT_TRUE(StartStandin()) << "a new start after a clean end";
    EXPECT_EQ(ContactDatabase::Open(ContactDatabasePath())->Contacts().size(), 2)
        << "a new start keeps the contacts there";
}

TEST_F(StandinProgram, QueriesWorkWithTheStandinClosed)
{
    QString error;
    EXPECT_EQ(RunStandin({u"contacts"_s}, nullptr, &error), 1);
    EXPECT_TRUE(error.contains(u"nicht vorhanden"_s)) << error.toStdString();
    EXPECT_EQ(RunStandin({u"commands"_s}), 0) << "no command file is an empty list";

    ASSERT_TRUE(StartStandin({u"--fields"_s, u"7"_s}));
    StopStandin();
    ActCommandFile(CommandFilePath())
        .AddAuxCommand({-1, u"Ordalis"_s, u"/opt/o/ordalis"_s, u"/opt/o/"_s, {}, {}, {}, {}, 0});

    QString output;
    ASSERT_EQ(RunStandin({u"contacts"_s, u"--json"_s}, &output), 0);
    const QJsonArray contacts = parseJson(output)[u"contacts"_s].toArray();
    ASSERT_EQ(contacts.size(), 1);
    EXPECT_TRUE(contacts[0][u"shown"_s].toBool());
    EXPECT_EQ(contacts[0][u"fields"_s][u"25"_s].toString(), u"Albers Beratung"_s);

    ASSERT_EQ(RunStandin({u"fields"_s, u"--json"_s}, &output), 0);
    EXPECT_EQ(parseJson(output)[u"fields"_s].toArray().size(), 7);

    ASSERT_EQ(RunStandin({u"commands"_s, u"--json"_s}, &output), 0);
    const QJsonArray commands = parseJson(output)[u"commands"_s].toArray();
    ASSERT_EQ(commands.size(), 1);
    EXPECT_EQ(commands[0][u"program"_s].toString(), u"/opt/o/ordalis"_s);

    ASSERT_EQ(RunStandin({u"fields"_s}, &output), 0);
    EXPECT_TRUE(output.startsWith(u"0\t25\tFirma\n"_s)) << output.toStdString();
}
