#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

// The real act-standin, headless, on a data folder and registry file of the
// test's own: while it runs, ACT! runs.
class StandinProcess
{
public:
    StandinProcess(QString home, QString registryFile);
    ~StandinProcess();

    // The environment every program of the test runs with.
    QProcessEnvironment Environment() const;
    // Starts it and waits until it holds its lock and has recorded its folder.
    bool Start();
    void Stop();

private:
    QString m_home;
    QString m_registryFile;
    QProcess m_process;
};
