#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A temporary data folder and registry for the stand-in (through
// ACT_STANDIN_HOME and ACT_STANDIN_REGISTRY), and the real act-standin
// running headless on it when a test starts it.
class StandinFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts act-standin --headless with `extra` arguments and waits until it
    // reports that it runs.
    bool StartStandin(const QStringList &extra = {});
    // SIGTERM, as a user closing it; its exit code, -1 after a crash.
    int StopStandin();
    // SIGKILL: no chance to clean up.
    void KillStandin();
    // Runs act-standin to its end (a query or a second instance).
    int RunStandin(const QStringList &arguments, QString *output = nullptr,
                   QString *error = nullptr);

    QString Home() const { return m_home; }
    QString RegistryFile() const { return m_registryFile; }

private:
    QTemporaryDir m_temp;
    QString m_home;
    QString m_registryFile;
    QProcess m_process;
};
