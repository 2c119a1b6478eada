#pragma once

#include <QHash>
#include <QString>

// Where the address book's password is kept.
class PasswordStore
{
public:
    virtual ~PasswordStore() = default;

    // The password kept under `key`; empty when none is.
    virtual QString Read(const QString &key) = 0;
    // Keeps the password. False, with the reason, when it is kept for this
    // session only.
    virtual bool Write(const QString &key, const QString &password, QString &reason) = 0;
    // Why passwords last only this session, once that is known; empty otherwise.
    virtual QString Problem() const = 0;
};

// For this session only: nothing reaches a disk.
class SessionPasswordStore : public PasswordStore
{
public:
    QString Read(const QString &key) override { return m_passwords.value(key); }
    bool Write(const QString &key, const QString &password, QString &reason) override;
    QString Problem() const override;

private:
    QHash<QString, QString> m_passwords;
};

// The desktop's keyring (Secret Service, KWallet; the credential store on
// Windows). Where there is none, the password stays in memory for the session:
// never in a plain file.
class KeyringPasswordStore : public PasswordStore
{
public:
    QString Read(const QString &key) override;
    bool Write(const QString &key, const QString &password, QString &reason) override;
    QString Problem() const override { return m_problem; }

private:
    SessionPasswordStore m_session;
    QString m_problem;
};
