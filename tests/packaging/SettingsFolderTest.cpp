#include "support/Log.h"
#include "support/ProgramFolder.h"
#include "support/modZusatzDefs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

TEST(SettingsFolder, ChoiceByEnvironmentAndWritability)
{
    const struct
    {
        const char *what;
        SettingsFolderFacts facts;
        QString expected;
    } cases[] = {
        {"ORDALIS_HOME wins over a writable program folder",
         {u"/srv/ordalis/"_s, u"/opt/ordalis"_s, true, u"/home/u/.cfg"_s, u"/home/u"_s},
         u"/srv/ordalis"_s},
        {"ORDALIS_HOME wins over a read-only program folder",
         {u"/srv/ordalis"_s, u"/usr/bin"_s, false, {}, u"/home/u"_s},
         u"/srv/ordalis"_s},
        {"a writable program folder keeps its settings",
         {{}, u"/opt/ordalis"_s, true, u"/home/u/.cfg"_s, u"/home/u"_s},
         u"/opt/ordalis"_s},
        {"a writable program folder loses its trailing separator",
         {{}, u"/home/u/ordalis//"_s, true, {}, u"/home/u"_s},
         u"/home/u/ordalis"_s},
        {"a read-only program folder: XDG_CONFIG_HOME",
         {{}, u"/opt/ordalis"_s, false, u"/home/u/.cfg/"_s, u"/home/u"_s},
         u"/home/u/.cfg/ordalis"_s},
        {"a read-only program folder without XDG_CONFIG_HOME: ~/.config",
         {{}, u"/opt/ordalis"_s, false, {}, u"/home/u"_s},
         u"/home/u/.config/ordalis"_s},
        {"a relative XDG_CONFIG_HOME counts as not set",
         {{}, u"/opt/ordalis"_s, false, u"cfg"_s, u"/home/u"_s},
         u"/home/u/.config/ordalis"_s},
        {"/usr/bin writable for root is still the system's",
         {{}, u"/usr/bin"_s, true, {}, u"/root"_s},
         u"/root/.config/ordalis"_s},
        {"/usr/local/bin is the system's as well",
         {{}, u"/usr/local/bin"_s, true, u"/root/.cfg"_s, u"/root"_s},
         u"/root/.cfg/ordalis"_s},
        {"/usr itself", {{}, u"/usr"_s, true, {}, u"/root"_s}, u"/root/.config/ordalis"_s},
        {"a folder merely starting with usr is not under /usr",
         {{}, u"/usrdata/ordalis"_s, true, {}, u"/home/u"_s},
         u"/usrdata/ordalis"_s},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ChooseSettingsFolder(c.facts), c.expected) << c.what;
}

// The real process: its executable sits in the (writable) build folder.
class SettingsFolderOfThisProcess : public ::testing::Test
{
protected:
    QTemporaryDir config;

    void SetUp() override
    {
        qunsetenv("ORDALIS_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    }
    void TearDown() override
    {
        qunsetenv("ORDALIS_HOME");
        qunsetenv("XDG_CONFIG_HOME");
    }
};

TEST_F(SettingsFolderOfThisProcess, SettingsAndLogFollowTheChosenFolder)
{
    const QString executable = ProgramFolder();
    EXPECT_EQ(SettingsFolder(), executable);
    EXPECT_EQ(SettingsFilePath(), executable + u"/ordalis.ini"_s);

    QTemporaryDir home;
    qputenv("ORDALIS_HOME", home.path().toLocal8Bit());
    EXPECT_EQ(SettingsFolder(), home.path());
    EXPECT_EQ(SettingsFilePath(), home.path() + u"/ordalis.ini"_s);
    AppendToLog(u"Eintrag"_s);
    EXPECT_TRUE(QFile::exists(home.filePath(u"logfile.txt"_s)));
    EXPECT_FALSE(QFileInfo::exists(config.filePath(u"ordalis"_s)));
}

TEST_F(SettingsFolderOfThisProcess, AMissingOrdalisHomeIsNotCreated)
{
    const QString missing = config.filePath(u"nicht/da"_s);
    qputenv("ORDALIS_HOME", missing.toLocal8Bit());
    EXPECT_EQ(SettingsFolder(), missing);
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_THROW(AppendToLog(u"x"_s), std::runtime_error);
}

} // namespace
