#include "StandinFixture.h"
#include "common/TestFiles.h"

#include "act/ActObject.h"
#include "act/standin/ActCommandFile.h"
#include "act/standin/StandinPaths.h"
#include "act/standin/StandinRunLock.h"

#include <QDir>
#include <QFile>

#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// What ACT! keeps beside our entries: must survive every edit byte for byte.
const QByteArray ForeignContent = "; ACT! Befehlsdatei\r\n"
                                  "[Settings]\r\n"
                                  "Version = 6.0\r\n"
                                  "\r\n"
                                  "[AuxCommand-0]\r\n"
                                  "cmdname=Kalender\r\n"
                                  "cmdline=C:\\ACT\\cal.exe\r\n"
                                  "extra=bleibt\r\n"
                                  "[AuxCommand-2]\r\n"
                                  "cmdname=Brief\r\n"
                                  "cmdline=C:\\ACT\\brief.exe\r\n"
                                  "[auxtbarcommand-0]\r\n"
                                  "cmdname=Kalender\r\n"
                                  "toolbar=1\r\n";

class AuxCommands : public StandinFixture
{
protected:
    void SetUp() override
    {
        StandinFixture::SetUp();
        ASSERT_TRUE(QDir().mkpath(Home()));
        // Held in-process: the stand-in runs as far as the objects can tell.
        m_lock = std::make_unique<StandinRunLock>(RunLockPath());
        ASSERT_TRUE(m_lock->TryAcquire());
        m_commands = CreateActObject(ActProgId::AuxCommands);
    }
    void TearDown() override
    {
        m_lock.reset();
        StandinFixture::TearDown();
    }

    QVariant add(const QString &name, const QString &program = u"/opt/tool/tool"_s)
    {
        return m_commands->Call(u"AddAuxCommand"_s,
                                {name, program, u"/opt/tool/"_s, u"Tipp"_s, u"Beschreibung"_s,
                                 u"/opt/tool/s.ico"_s, u"/opt/tool/l.ico"_s,
                                 QVariant::fromValue<short>(0)});
    }
    QVariant call(const QString &member, const QVariantList &arguments)
    {
        return m_commands->Call(member, arguments);
    }

    std::unique_ptr<StandinRunLock> m_lock;
    ActObjectPtr m_commands;
};

} // namespace

TEST_F(AuxCommands, AddClosesAGapAndWritesTheWholeCommandLast)
{
    writeBytes(CommandFilePath(), ForeignContent);
    EXPECT_EQ(add(u"Ordalis"_s).toInt(), 0);
    QByteArray closed = ForeignContent;
    closed.replace("[AuxCommand-2]", "[AuxCommand-1]");
    const QByteArray after = readBytes(CommandFilePath());
    EXPECT_TRUE(after.startsWith(closed)) << after.toStdString();

    const QVector<AuxCommandEntry> commands = ActCommandFile(CommandFilePath()).Commands();
    ASSERT_EQ(commands.size(), 3);
    const AuxCommandEntry &c = commands[2];
    EXPECT_EQ(c.number, 2);
    EXPECT_EQ((QStringList{c.name, c.program, c.folder, c.tooltip, c.description, c.smallIcon,
                           c.largeIcon}),
              (QStringList{u"Ordalis"_s, u"/opt/tool/tool"_s, u"/opt/tool/"_s, u"Tipp"_s,
                           u"Beschreibung"_s, u"/opt/tool/s.ico"_s, u"/opt/tool/l.ico"_s}));

    call(u"DeleteAuxCommand"_s, {u"Ordalis"_s});
    EXPECT_EQ(readBytes(CommandFilePath()), closed);
}

// A refused call still closes the gap: it is what stopped the installer's
// clean-up before the add, and would stop it again.
TEST_F(AuxCommands, ADuplicateNameIsRefusedAndOnlyTheGapCloses)
{
    QByteArray closed = ForeignContent;
    closed.replace("[AuxCommand-2]", "[AuxCommand-1]");
    for (const QString &duplicate : {u"Kalender"_s, u"KALENDER"_s, u"  kalender "_s}) {
        writeBytes(CommandFilePath(), ForeignContent);
        EXPECT_EQ(add(duplicate).toInt(), 1) << duplicate.toStdString();
        EXPECT_EQ(readBytes(CommandFilePath()), closed) << duplicate.toStdString();
    }
    // Names compare as the file stores them: a tab is stored as a blank.
    EXPECT_EQ(add(u"Neuer\tBrief"_s).toInt(), 0);
    EXPECT_EQ(add(u"Neuer\tBrief"_s).toInt(), 1);
    EXPECT_TRUE(call(u"DeleteAuxCommand"_s, {u"neuer brief"_s}).toBool());
    EXPECT_EQ(readBytes(CommandFilePath()), closed);
    EXPECT_TRUE(call(u"AuxCommandExists"_s, {u"kalender"_s}).toBool());
    EXPECT_FALSE(call(u"AuxCommandExists"_s, {u"Kalend"_s}).toBool());
    // The installer asks about "" when its button file is missing.
    EXPECT_FALSE(call(u"AuxCommandExists"_s, {QString()}).toBool());
    EXPECT_FALSE(call(u"AuxCommandExistsInToolbar"_s, {1, QString()}).toBool());
}

TEST_F(AuxCommands, RefusedCallsAndFailedWritesAreNoSuccess)
{
    const struct
    {
        const char *name;
        QString member;
        QVariantList arguments;
    } refused[] = {
        {"button for an unknown command", u"AddAuxCommandToToolbar"_s, {1, u"Fehlt"_s}},
        {"negative toolbar", u"AuxCommandExistsInToolbar"_s, {-1, u"x"_s}},
        {"toolbar as word", u"AuxCommandExistsInToolbar"_s, {u"eins"_s, u"x"_s}},
        {"empty name", u"AddAuxCommand"_s, {u" "_s, u"p"_s, u"f"_s, u"t"_s, u"d"_s, 0, 0, 0}},
        {"no program", u"AddAuxCommand"_s, {u"n"_s, u" "_s, u"f"_s, u"t"_s, u"d"_s, 0, 0, 0}},
        {"a name Windows-1252 lacks",
         u"AddAuxCommand"_s,
         {u"Haken ✓"_s, u"p"_s, u"f"_s, u"t"_s, u"d"_s, 0, 0, 0}},
        {"seven arguments", u"AddAuxCommand"_s, {u"n"_s, u"p"_s, u"f"_s, 0, 0, 0, 0}},
    };
    for (const auto &c : refused)
        EXPECT_THROW(call(c.member, c.arguments), ActError) << c.name;
    EXPECT_FALSE(QFile::exists(CommandFilePath())) << "nothing was written";

    // A folder where the file should be: every write fails, and says so.
    ASSERT_TRUE(QDir().mkpath(CommandFilePath()));
    EXPECT_THROW(add(u"Ordalis"_s), ActError);
    EXPECT_FALSE(call(u"AuxCommandExists"_s, {u"Ordalis"_s}).toBool());
}
