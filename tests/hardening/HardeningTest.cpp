// Crash safety and concurrent edits: a child process writes the files users
// care about, the tests kill it or race it.

#include "HardeningData.h"
#include "common/TestFiles.h"

#include "act/ActObject.h"
#include "act/standin/ActCommandFile.h"
#include "act/standin/CommandFileLock.h"
#include "act/standin/StandinPaths.h"
#include "act/standin/StandinRunLock.h"
#include "installer/ActCommandFile.h"
#include "support/Registry.h"
#include "support/SettingsFile.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include <sys/stat.h>

namespace {

// Starts hardening_writer with the arguments; its errors go to ours.
void StartWriter(QProcess &process, const QStringList &arguments)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(HARDENING_WRITER), arguments);
    ASSERT_TRUE(process.waitForStarted(10000));
}

// A temporary stand-in data folder and registry that child processes see
// (through the environment), and the stand-in's run lock held by the test.
class WriterFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(m_home));
        m_registry.WriteString(ActAppPathsKey, ActAppPathsValue, m_home);
        qputenv("ACT_STANDIN_HOME", QFile::encodeName(m_home));
        qputenv("ACT_STANDIN_REGISTRY", QFile::encodeName(TempPath(QStringLiteral("reg.ini"))));
        ASSERT_TRUE(m_runLock.TryAcquire());
    }
    void TearDown() override
    {
        qunsetenv("ACT_STANDIN_HOME");
        qunsetenv("ACT_STANDIN_REGISTRY");
    }

    QString CommandFile() const { return CommandFilePath(m_home); }
    const Registry &ActRegistry() const { return m_registry; }
    QString TempPath(const QString &name) const { return m_temp.filePath(name); }
    std::mt19937 m_random{std::random_device{}()};

private:
    QTemporaryDir m_temp;
    QString m_home = m_temp.filePath(QStringLiteral("act"));
    IniFileRegistry m_registry{TempPath(QStringLiteral("reg.ini"))};
    StandinRunLock m_runLock{RunLockPath(m_home)};
};

using CrashSafety = WriterFixture;
using ConcurrentEdits = WriterFixture;

constexpr int Kills = 50;

// What tells one version of the file from the next.
std::pair<quint64, qint64> version(const QString &path)
{
    struct stat st
    {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {0, 0};
    return {quint64(st.st_ino), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// Starts the writer, waits until it has replaced the file at least once (so
// it is inside its loop), lets it run a random while longer and kills it.
void killWhileWriting(const QString &file, const QStringList &arguments, std::mt19937 &random)
{
    const auto before = version(file);
    QProcess writer;
    ASSERT_NO_FATAL_FAILURE(StartWriter(writer, arguments));
    QElapsedTimer waited;
    waited.start();
    while (version(file) == before && waited.elapsed() < 20000 &&
           writer.state() == QProcess::Running)
        QThread::usleep(200);
    ASSERT_EQ(writer.state(), QProcess::Running) << "the writer ended by itself";
    ASSERT_NE(version(file), before) << "the writer never wrote";
    QThread::usleep(std::uniform_int_distribution<unsigned>(0, 30000)(random));
    writer.kill(); // SIGKILL
    ASSERT_TRUE(writer.waitForFinished(10000));
}

} // namespace

TEST_F(CrashSafety, SettingsFileIsOldOrNewWhenTheCacheSaveIsKilled)
{
    const QByteArray initial = "; von Hand\r\n[Config]\r\nCacheFelder=1\r\n"
                               "StandardLand5PLZ=Deutschland\r\n\r\n"
                               "[Felder]\r\nZeile1=1;Alt\r\nZeile2=\r\n\r\n"
                               "[Definitionen]\r\nID1=88\r\nWert1=Abteilung:\r\n";
    // The whole states the loop goes through, made by the same saves here.
    const QString model = TempPath(QStringLiteral("model.ini"));
    writeBytes(model, initial);
    FieldRows first;
    FieldRows second;
    HardeningData::FillCatalogue(first, false);
    HardeningData::FillCatalogue(second, true);
    SaveFieldCache(first, model);
    const QByteArray afterFirst = readBytes(model);
    SaveFieldCache(second, model);
    const QByteArray afterSecond = readBytes(model);
    SaveFieldCache(first, model);
    ASSERT_EQ(readBytes(model), afterFirst) << "the loop has exactly these states";
    ASSERT_NE(afterFirst, afterSecond);

    const QString settings = TempPath(QStringLiteral("ordalis.ini"));
    writeBytes(settings, initial);
    QSet<QByteArray> seen;
    for (int kill = 0; kill < Kills; ++kill) {
        SCOPED_TRACE(kill);
        ASSERT_NO_FATAL_FAILURE(
            killWhileWriting(settings, {QStringLiteral("cache"), settings}, m_random));
        const QByteArray now = readBytes(settings);
        ASSERT_TRUE(now == initial || now == afterFirst || now == afterSecond)
            << "kill " << kill << " left " << now.size() << " bytes that are no whole state";
        seen.insert(now);
    }
    EXPECT_TRUE(seen.contains(afterFirst) && seen.contains(afterSecond))
        << "the kills should land in both saves";
}

TEST_F(CrashSafety, CommandFileIsAWholeStateWhenTheStandinIsKilled)
{
    const QByteArray initial = "; ACT! Befehlsdatei\r\n[Settings]\r\nVersion = 6.0\r\n\r\n"
                               "[AuxCommand-0]\r\ncmdname=Kalender\r\ncmdline=/act/cal\r\n"
                               "[AuxCommand-1]\r\ncmdname=Brief\r\ncmdline=/act/brief\r\n";
    // The file with the command fully added, made by the same call; an add or
    // a delete is one replacement, so a kill leaves either this or the file as it was.
    writeBytes(CommandFile(), initial);
    CreateActObject(ActProgId::AuxCommands)
        ->Call(QStringLiteral("AddAuxCommand"),
               HardeningData::AddArguments(HardeningData::CycledCommand));
    const QByteArray added = readBytes(CommandFile());
    ASSERT_TRUE(added.startsWith(initial));

    writeBytes(CommandFile(), initial);
    QSet<QByteArray> seen;
    for (int kill = 0; kill < Kills; ++kill) {
        SCOPED_TRACE(kill);
        ASSERT_NO_FATAL_FAILURE(
            killWhileWriting(CommandFile(), {QStringLiteral("cycle")}, m_random));
        const QByteArray now = readBytes(CommandFile());
        ASSERT_TRUE(now == initial || now == added) << "kill " << kill << " left:\n"
                                                    << now.toStdString();
        seen.insert(now);
    }
    EXPECT_GE(seen.size(), 2) << "the kills should land in different states";
}

const QByteArray Foreign =
    "; ACT! Befehlsdatei\r\n[Settings]\r\nVersion = 6.0\r\n\r\n"
    "[AuxCommand-0]\r\ncmdname=Kalender\r\ncmdline=/act/cal\r\nextra=bleibt\r\n"
    "[AuxTBarCommand-0]\r\ncmdname=Kalender\r\ntoolbar=1\r\n";

TEST_F(ConcurrentEdits, CleanUpWhileTheStandinAddsLosesNothingElse)
{
    constexpr int Added = 40;
    constexpr int MinimumRounds = 15;
    writeBytes(CommandFile(), Foreign);
    QProcess adder;
    ASSERT_NO_FATAL_FAILURE(
        StartWriter(adder, {QStringLiteral("add"), QStringLiteral("1"), QString::number(Added)}));

    // Tastor's own entry comes and goes while the stand-in's process adds.
    ActCommandFile file(CommandFile());
    // A hang guard, not a speed limit: on a loaded machine the adder may need
    // thousands of our rounds.
    const QDeadlineTimer hang(std::chrono::minutes(2));
    int round = 0;
    for (; round < MinimumRounds || adder.state() == QProcess::Running; ++round) {
        const QString name = QStringLiteral("Ordalis %1").arg(round);
        ASSERT_EQ(file.AddAuxCommand({.name = name, .program = QStringLiteral("/o")}), 0);
        ASSERT_TRUE(file.AddToToolbar(2, name));
        RemoveActCmdEntries(QStringLiteral("  ordalis %1 ").arg(round), ActRegistry());
        ASSERT_FALSE(file.AuxCommandExists(name)) << "round " << round;
        ASSERT_FALSE(file.ExistsInToolbar(2, name)) << "round " << round;
        adder.waitForFinished(0);
        ASSERT_FALSE(hang.hasExpired()) << "the adding process does not end";
    }
    ASSERT_TRUE(adder.state() == QProcess::NotRunning || adder.waitForFinished(30000));
    ASSERT_EQ(adder.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(adder.exitCode(), 0);

    EXPECT_TRUE(readBytes(CommandFile()).startsWith(Foreign));
    const QVector<AuxCommandEntry> commands = file.Commands();
    ASSERT_EQ(commands.size(), Added + 1) << "all the stand-in's commands and ACT!'s own";
    for (const AuxCommandEntry &command : commands) {
        if (command.name == u"Kalender")
            continue;
        EXPECT_TRUE(command.name.startsWith(u"Zusatz ")) << command.name.toStdString();
        // Every key of every section: no write of the other side was lost.
        const QVariantList expected = HardeningData::AddArguments(command.name);
        EXPECT_EQ(command.program, expected[1].toString()) << command.name.toStdString();
        EXPECT_EQ(command.largeIcon, expected[6].toString()) << command.name.toStdString();
    }
    const QVector<ToolbarEntry> toolbar = file.ToolbarEntries();
    ASSERT_EQ(toolbar.size(), 1);
    EXPECT_EQ(toolbar[0].name, u"Kalender");
    EXPECT_GE(round, MinimumRounds);
}

TEST_F(ConcurrentEdits, CleanUpWaitsForTheCommandFileLock)
{
    writeBytes(CommandFile(), Foreign + "[AuxCommand-1]\r\ncmdname=Ordalis\r\ncmdline=/o\r\n");
    std::atomic<bool> done = false;
    std::thread cleanUp;
    {
        const CommandFileLock held(CommandFile());
        ASSERT_TRUE(held.IsHeld());
        const CommandFileLock waiting(CommandFile(), std::chrono::milliseconds(50));
        EXPECT_TRUE(waiting.TimedOut()) << "a stuck lock holder must not hang an edit";
        EXPECT_FALSE(waiting.IsHeld()) << "two editors must never hold the lock at once";
        cleanUp = std::thread([&] {
            RemoveActCmdEntries(QStringLiteral("Ordalis"), ActRegistry());
            done = true;
        });
        QThread::msleep(300);
        EXPECT_FALSE(done) << "the clean-up went ahead while another edit held the lock";
        EXPECT_TRUE(readBytes(CommandFile()).contains("Ordalis"));
    }
    cleanUp.join();
    EXPECT_EQ(readBytes(CommandFile()), Foreign);
}
