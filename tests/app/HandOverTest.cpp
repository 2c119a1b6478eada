// One Ordalis per user: the real program started again hands over to the
// running window, also after an earlier Ordalis was killed.

#include "AppTestSupport.h"

#include "app/HandedOverCapture.h"
#include "app/SingleInstance.h"
#include "support/ActFields.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int StartTimeoutMs = 20000;

// The socket and the lock go to a folder of the test's own, which goes with it.
class PrivateRuntimeFolder
{
public:
    explicit PrivateRuntimeFolder(const QString &folder) : m_before(qgetenv("XDG_RUNTIME_DIR"))
    {
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
    }
    ~PrivateRuntimeFolder() { qputenv("XDG_RUNTIME_DIR", m_before); }
    PrivateRuntimeFolder(const PrivateRuntimeFolder &) = delete;
    PrivateRuntimeFolder &operator=(const PrivateRuntimeFolder &) = delete;

private:
    QByteArray m_before;
};

bool finished(QProcess &process)
{
    return QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, StartTimeoutMs);
}

} // namespace

using HandOver = AppTest;

TEST_F(HandOver, AKilledOrdalisBlocksNothingAndASecondCaptureFillsTheRunningWindow)
{
    const PrivateRuntimeFolder runtime(m_root.filePath(u"runtime"_s));
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
