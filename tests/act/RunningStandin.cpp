#include "RunningStandin.h"

#include "act/standin/StandinPaths.h"
#include "act/standin/StandinRunLock.h"
#include "support/Registry.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

#include <sqlite3.h>

RunningStandin::RunningStandin()
{
    m_home = m_dir.path() + QStringLiteral("/act");
    m_registry = m_dir.path() + QStringLiteral("/registry.ini");
    QDir().mkpath(m_home);
    qputenv("ACT_STANDIN_HOME", m_home.toLocal8Bit());
    qputenv("ACT_STANDIN_REGISTRY", m_registry.toLocal8Bit());
    qputenv("ORDALIS_HOME", m_dir.path().toLocal8Bit());
}

RunningStandin::~RunningStandin()
{
    Stop();
}

QProcessEnvironment RunningStandin::Environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ACT_STANDIN_HOME"), m_home);
    environment.insert(QStringLiteral("ACT_STANDIN_REGISTRY"), m_registry);
    environment.insert(QStringLiteral("ORDALIS_HOME"), m_dir.path());
    return environment;
}

bool RunningStandin::Start(const QStringList &arguments)
{
    QFile::remove(m_registry);
    m_process.setProcessEnvironment(Environment());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.start(QStringLiteral(ACT_STANDIN_BINARY),
                    QStringList{QStringLiteral("--headless")} + arguments);
    if (!m_process.waitForStarted(10000))
        return false;
    const IniFileRegistry registry(m_registry);
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (m_process.state() != QProcess::Running)
            return false;
        if (StandinRunLock::IsHeld(RunLockPath(m_home)) &&
            registry.ReadString(ActAppPathsKey, ActAppPathsValue) == m_home)
            return true;
        QThread::msleep(10);
    }
    return false;
}

void RunningStandin::Stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

void RunningStandin::Kill()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}

QVector<StandinContact> RunningStandin::Contacts() const
{
    return ContactDatabase::Open(ContactDatabasePath(m_home))->Contacts();
}

ShownContact RunningStandin::Shown() const
{
    return ContactDatabase::Open(ContactDatabasePath(m_home))->Shown();
}

QMap<qint32, QString> RunningStandin::ShownValues() const
{
    const auto database = ContactDatabase::Open(ContactDatabasePath(m_home));
    const qint64 shown = database->Shown().contactId;
    for (const StandinContact &contact : database->Contacts()) {
        if (contact.id == shown)
            return contact.values;
    }
    return {};
}

void RunningStandin::SetFieldLabel(qint32 fieldNumber, const QString &label) const
{
    sqlite3 *db = nullptr;
    sqlite3_open(ContactDatabasePath(m_home).toUtf8().constData(), &db);
    sqlite3_busy_timeout(db, 5000);
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db, "UPDATE fields SET label = ? WHERE number = ?", -1, &statement, nullptr);
    const QByteArray text = label.toUtf8();
    sqlite3_bind_text(statement, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int(statement, 2, fieldNumber);
    sqlite3_step(statement);
    sqlite3_finalize(statement);
    sqlite3_close(db);
}
