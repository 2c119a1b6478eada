#pragma once

#include "common/TestFiles.h"

#include "act/standin/StandinPaths.h"
#include "act/standin/StandinRunLock.h"
#include "support/Registry.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// Starts hardening_writer with the arguments; its errors go to ours.
inline void StartWriter(QProcess &process, const QStringList &arguments)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(HARDENING_WRITER), arguments);
    ASSERT_TRUE(process.waitForStarted(10000));
}

// A temporary stand-in data folder and registry that child processes see
// (through the environment), the stand-in's run lock held by the test, and the
// writer child.
class WriterFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_temp.isValid());
        m_home = m_temp.filePath(QStringLiteral("act"));
        ASSERT_TRUE(QDir().mkpath(m_home));
        m_registry = std::make_unique<IniFileRegistry>(m_temp.filePath(QStringLiteral("reg.ini")));
        m_registry->WriteString(ActAppPathsKey, ActAppPathsValue, m_home);
        qputenv("ACT_STANDIN_HOME", QFile::encodeName(m_home));
        qputenv("ACT_STANDIN_REGISTRY",
                QFile::encodeName(m_temp.filePath(QStringLiteral("reg.ini"))));
        m_runLock = std::make_unique<StandinRunLock>(RunLockPath(m_home));
        ASSERT_TRUE(m_runLock->TryAcquire());
    }
    void TearDown() override
    {
        m_runLock.reset();
        qunsetenv("ACT_STANDIN_HOME");
        qunsetenv("ACT_STANDIN_REGISTRY");
    }

    QString CommandFile() const { return CommandFilePath(m_home); }
    const Registry &ActRegistry() const { return *m_registry; }
    QString TempPath(const QString &name) const { return m_temp.filePath(name); }

private:
    QTemporaryDir m_temp;
    QString m_home;
    std::unique_ptr<IniFileRegistry> m_registry;
    std::unique_ptr<StandinRunLock> m_runLock;
};
