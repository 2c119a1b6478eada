#include "support/Log.h"
#include "support/ProgramFolder.h"
#include "support/SettingsFile.h"

#include "common/CaseFile.h"
#include "common/TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// The choice by environment and writability.
using SettingsFolderCases = CaseFileTest<>;

TEST_P(SettingsFolderCases, Choice)
{
    QStringList f = GetParam().value(u"facts"_s).split(u'|');
    ASSERT_TRUE(f.size() == 5 || f.size() == 8);
    f.resize(8);
    EXPECT_EQ(ChooseSettingsFolder({f[0], f[1], f[2] == u"yes", f[3], f[4], f[5] == u"windows",
                                    f[6] == u"yes", f[7]}),
              GetParam().value(u"folder"_s));
}

INSTANTIATE_TEST_SUITE_P(File, SettingsFolderCases,
                         CasesOf(ORDALIS_TEST_DATA "/settings-folders.txt"), CaseTestName);

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

TEST_F(SettingsFolderOfThisProcess, SettingsAndLogFollowTheChosenFolderWithoutCreatingIt)
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

    // A missing ORDALIS_HOME is not created.
    const QString missing = config.filePath(u"nicht/da"_s);
    qputenv("ORDALIS_HOME", missing.toLocal8Bit());
    EXPECT_EQ(SettingsFolder(), missing);
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_THROW(AppendToLog(u"x"_s), std::runtime_error);
}

// Windows copies the example into a fresh per-user folder on first start.
TEST(SettingsFolder, TheExampleIsCopiedOnlyIntoAFolderWithoutSettings)
{
    QTemporaryDir program, settings;
    const QString example = program.filePath(u"ordalis.ini"_s);
    const QString copy = settings.filePath(u"ordalis.ini"_s);
    EXPECT_FALSE(CopyExampleSettings(program.path(), settings.path())) << "no example";
    EXPECT_FALSE(QFileInfo::exists(copy));

    writeBytes(example, "[Config]\r\nStandardLand5PLZ=Deutschland\r\n");
    QFile::setPermissions(example, QFileDevice::ReadOwner | QFileDevice::ReadUser);
    EXPECT_FALSE(CopyExampleSettings(program.path(), program.path() + u"/"_s))
        << "the program's own folder";
    ASSERT_TRUE(CopyExampleSettings(program.path(), settings.path()));
    EXPECT_EQ(readBytes(copy), readBytes(example));
    EXPECT_TRUE(QFileInfo(copy).isWritable()) << "the field cache is written into it";

    writeBytes(copy, "[Config]\r\n");
    EXPECT_FALSE(CopyExampleSettings(program.path(), settings.path()));
    EXPECT_EQ(readBytes(copy), "[Config]\r\n") << "the user's settings stay";
}

} // namespace
