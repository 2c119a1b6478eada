#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// Debian's packages run by Debian's interpreter, whatever else is on the path.
inline const QString SystemPython = QStringLiteral("/usr/bin/python3");

// A real Radicale on a free loopback port, its storage in a temporary folder,
// one user "anna" (password "geheim") with one address book "kontakte".
class RadicaleServer
{
public:
    RadicaleServer();
    ~RadicaleServer();

    bool Start();
    void Stop();

    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_port); }
    // The file a card's address names in the storage folder.
    QString CardFile(const QString &cardUrl) const;
    int CardCount() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};

// A free loopback port at the moment of asking.
int FreeLoopbackPort();
