#pragma once

#include "act/standin/ContactDatabase.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

// The real act-standin on a data folder of the test's own. The test process
// itself talks to it too: the constructor points this process's stand-in
// objects and settings at the temporary folder.
class RunningStandin
{
public:
    RunningStandin();
    ~RunningStandin();

    QString Home() const { return m_home; }
    QString Folder() const { return m_dir.path(); }
    QProcessEnvironment Environment() const;

    // Starts `act-standin --headless` with extra arguments and waits until it
    // holds its lock and has recorded its folder.
    bool Start(const QStringList &arguments = {});
    void Stop();
    // SIGKILL: no clean-up of any kind.
    void Kill();

    // The database as ACT! keeps it; readable whether the stand-in runs or not.
    QVector<StandinContact> Contacts() const;
    ShownContact Shown() const;
    QMap<qint32, QString> ShownValues() const;
    // Changes a field's label in ACT!'s field list.
    void SetFieldLabel(qint32 fieldNumber, const QString &label) const;

private:
    QTemporaryDir m_dir;
    QString m_home;
    QString m_registry;
    QProcess m_process;
};
