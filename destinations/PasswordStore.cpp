#include "PasswordStore.h"

#include "support/Messages.h"

#ifdef ORDALIS_HAVE_KEYCHAIN
#include <qt6keychain/keychain.h>

#include <QEventLoop>
#endif

using namespace Qt::StringLiterals;

bool SessionPasswordStore::Write(const QString &key, const QString &password, QString &reason)
{
    m_passwords.insert(key, password);
    reason = Problem();
    return false;
}

QString SessionPasswordStore::Problem() const
{
    return u"kein Schlüsselbund verfügbar"_s;
}

#ifdef ORDALIS_HAVE_KEYCHAIN

namespace {

const QString Service = ProgramName;

// Runs a keyring job to its end; the keyring may ask the user to unlock it.
void runJob(QKeychain::Job &job, const QString &key)
{
    job.setAutoDelete(false);
    // Never the library's plain-text file when there is no keyring.
    job.setInsecureFallback(false);
    job.setKey(key);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
}

} // namespace

QString KeyringPasswordStore::Read(const QString &key)
{
    const QString kept = m_session.Read(key);
    if (!kept.isEmpty())
        return kept;
    QKeychain::ReadPasswordJob job(Service);
    runJob(job, key);
    if (job.error() == QKeychain::NoError)
        return job.textData();
    if (job.error() != QKeychain::EntryNotFound)
        m_problem = job.errorString();
    return {};
}

bool KeyringPasswordStore::Write(const QString &key, const QString &password, QString &reason)
{
    QKeychain::WritePasswordJob job(Service);
    job.setTextData(password);
    runJob(job, key);
    if (job.error() == QKeychain::NoError)
        return true;
    m_session.Write(key, password, reason);
    m_problem = reason = job.errorString();
    return false;
}

#else

QString KeyringPasswordStore::Read(const QString &key)
{
    return m_session.Read(key);
}

bool KeyringPasswordStore::Write(const QString &key, const QString &password, QString &reason)
{
    m_problem = m_session.Problem();
    return m_session.Write(key, password, reason);
}

#endif
