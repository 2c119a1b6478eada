// One Ordalis per user: the real program started again hands over to the
// running window, also after an earlier Ordalis was killed.

#include "AppTestSupport.h"

#include "app/HandedOverCapture.h"
#include "app/SingleInstance.h"
#include "support/ActFields.h"
#include "support/ProgramFolder.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int StartTimeoutMs = 20000;

bool finished(QProcess &process)
{
    return QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, StartTimeoutMs);
}

} // namespace

using HandOver = AppTest;

TEST_F(HandOver, AKilledOrdalisBlocksNothingAndASecondCaptureFillsTheRunningWindow)
{
    const QString key = SingleInstance::KeyFor(SettingsFolder());
    SingleInstance running(key);
    {
        QProcess killed; // the same environment: this test's settings folder
        killed.start(QStringLiteral(ORDALIS_BINARY), {});
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(running.ServerName()); },
                                    StartTimeoutMs));
        killed.kill();
        ASSERT_TRUE(finished(killed));
    }
    ASSERT_TRUE(QFileInfo::exists(running.ServerName()) && QFileInfo::exists(running.LockPath()))
        << "SIGKILL should leave the socket and the lock behind";

    ASSERT_EQ(running.Start(), SingleInstance::Role::First);
    ServeHandOvers(running, window());
    rows().FillStandardCatalogue();
    showActive();
    SetClipboard(u"Muster GmbH\nHauptstr. 1\n10115 Berlin\n"_s);

    QProcess second;
    second.start(QStringLiteral(ORDALIS_BINARY), {u"--capture"_s});
    ASSERT_TRUE(finished(second)) << "the second start should end after handing over";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return valueOf(ActField::Ort) == u"Berlin"_s; }));
    EXPECT_EQ(valueOf(ActField::Firma), u"Muster GmbH"_s);
}
