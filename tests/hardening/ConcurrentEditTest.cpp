#include "HardeningData.h"
#include "WriterFixture.h"

#include "act/standin/ActCommandFile.h"
#include "act/standin/CommandFileLock.h"
#include "installer/modACTReg.h"

#include <QDeadlineTimer>
#include <QThread>

#include <atomic>
#include <thread>

namespace {

const QByteArray Foreign =
    "; ACT! Befehlsdatei\r\n[Settings]\r\nVersion = 6.0\r\n\r\n"
    "[AuxCommand-0]\r\ncmdname=Kalender\r\ncmdline=/act/cal\r\nextra=bleibt\r\n"
    "[AuxTBarCommand-0]\r\ncmdname=Kalender\r\ntoolbar=1\r\n";

using ConcurrentEdits = WriterFixture;

} // namespace

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
