#include "StandinFixture.h"

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

TEST(StandinOptionsTest, CommandLines)
{
    using Mode = StandinOptions::Mode;
    const struct
    {
        QStringList arguments;
        bool valid;
        Mode mode;
        bool noDatabase;
        int fields; // -1: none
    } cases[] = {
        {{}, true, Mode::Window, false, -1},
        {{u"--headless"_s}, true, Mode::Headless, false, -1},
        {{u"--headless"_s, u"--no-database"_s}, true, Mode::Headless, true, -1},
        {{u"--fields"_s, u"5000"_s}, true, Mode::Window, false, 5000},
        {{u"--fields=0"_s, u"--headless"_s}, true, Mode::Headless, false, 0},
        {{u"fields"_s, u"--json"_s}, true, Mode::Query, false, -1},
        {{u"--fields"_s}, false, Mode::Window, false, -1},
        {{u"--fields"_s, u"-3"_s}, false, Mode::Window, false, -1},
        {{u"--fields"_s, u"100000"_s}, true, Mode::Window, false, 100000},
        {{u"--fields"_s, u"100001"_s}, false, Mode::Window, false, -1},
        {{u"--fields"_s, u"viele"_s}, false, Mode::Window, false, -1},
        {{u"--json"_s}, false, Mode::Window, false, -1},
        {{u"contacts"_s, u"fields"_s}, false, Mode::Query, false, -1},
        {{u"contacts"_s, u"--fields"_s, u"3"_s}, false, Mode::Query, false, -1},
        {{u"--verbose"_s}, false, Mode::Window, false, -1},
    };
    for (const auto &c : cases) {
        const StandinOptions options = StandinOptions::Parse(c.arguments);
        const std::string name = c.arguments.join(u' ').toStdString();
        EXPECT_EQ(options.error.isEmpty(), c.valid) << name;
        if (!c.valid)
            continue;
        EXPECT_EQ(options.mode, c.mode) << name;
        EXPECT_EQ(options.noDatabase, c.noDatabase) << name;
        EXPECT_EQ(options.fieldCount.value_or(-1), c.fields) << name;
    }
}

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
    const QJsonArray fields = parseJson(output)[u"fields"_s].toArray();
    ASSERT_EQ(fields.size(), 7);
    EXPECT_EQ(fields[0][u"number"_s].toInt(), 25);
    EXPECT_EQ(fields[0][u"label"_s].toString(), u"Firma"_s);

    ASSERT_EQ(RunStandin({u"commands"_s, u"--json"_s}, &output), 0);
    const QJsonArray commands = parseJson(output)[u"commands"_s].toArray();
    ASSERT_EQ(commands.size(), 1);
    EXPECT_EQ(commands[0][u"program"_s].toString(), u"/opt/o/ordalis"_s);

    ASSERT_EQ(RunStandin({u"fields"_s}, &output), 0);
    EXPECT_TRUE(output.startsWith(u"0\t25\tFirma\n"_s)) << output.toStdString();
}
