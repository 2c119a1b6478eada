#include "StandinProcess.h"

#include "act/standin/StandinPaths.h"
#include "act/standin/StandinRunLock.h"
#include "support/Registry.h"

#include <QDeadlineTimer>
#include <QThread>

StandinProcess::StandinProcess(QString home, QString registryFile)
    : m_home(std::move(home)), m_registryFile(std::move(registryFile))
{}

StandinProcess::~StandinProcess()
{
    Stop();
}

QProcessEnvironment StandinProcess::Environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ACT_STANDIN_HOME"), m_home);
    environment.insert(QStringLiteral("ACT_STANDIN_REGISTRY"), m_registryFile);
    environment.remove(QStringLiteral("TASTOR_VERBOSE"));
    return environment;
}

bool StandinProcess::Start()
{
    m_process.setProcessEnvironment(Environment());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(ACT_STANDIN_BINARY), {QStringLiteral("--headless")});
    if (!m_process.waitForStarted(10000))
        return false;
    const IniFileRegistry registry(m_registryFile);
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (m_process.state() != QProcess::Running)
            return false;
        if (StandinRunLock::IsHeld(RunLockPath(m_home)) &&
            registry.ReadString(ActAppPathsKey, ActAppPathsValue) == m_home)
            return true;
        QThread::msleep(20);
    }
    return false;
}

void StandinProcess::Stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}
