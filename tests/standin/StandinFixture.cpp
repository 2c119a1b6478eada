#include "StandinFixture.h"

#include <QDeadlineTimer>

#include <csignal>

using namespace Qt::StringLiterals;

void StandinFixture::SetUp()
{
    ASSERT_TRUE(m_temp.isValid());
    m_home = m_temp.path() + u"/act"_s;
    m_registryFile = m_temp.path() + u"/registry.ini"_s;
    qputenv("ACT_STANDIN_HOME", m_home.toLocal8Bit());
    qputenv("ACT_STANDIN_REGISTRY", m_registryFile.toLocal8Bit());
}

void StandinFixture::TearDown()
{
    StopStandin();
    qunsetenv("ACT_STANDIN_HOME");
    qunsetenv("ACT_STANDIN_REGISTRY");
}

bool StandinFixture::StartStandin(const QStringList &extra)
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(QStringLiteral(ACT_STANDIN_BINARY), QStringList{u"--headless"_s} + extra);
    if (!m_process.waitForStarted(10000))
        return false;
    QByteArray seen;
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        m_process.waitForReadyRead(100);
        seen += m_process.readAllStandardOutput();
        if (seen.contains("act-standin l"))
            return true;
    }
    ADD_FAILURE() << "act-standin did not start: "
                  << m_process.readAllStandardError().toStdString();
    return false;
}

int StandinFixture::StopStandin()
{
    m_process.terminate();
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

void StandinFixture::KillStandin()
{
    ::kill(pid_t(m_process.processId()), SIGKILL);
    m_process.waitForFinished(10000);
}

int StandinFixture::RunStandin(const QStringList &arguments, QString *output, QString *error)
{
    QProcess process;
    process.start(QStringLiteral(ACT_STANDIN_BINARY), arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    if (error)
        *error = QString::fromLocal8Bit(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
