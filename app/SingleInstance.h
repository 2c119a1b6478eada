#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;

// One running Ordalis per user and settings folder: two would hold two ACT!
// connections and write the same field cache. A later start hands its request
// over to the running one through a local socket (a named pipe on Windows) and
// ends. The running one holds a lock file beside the socket for its lifetime,
// so what a killed Ordalis leaves behind is recognised as stale and removed.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    enum class Role {
        First,      // no other runs: this one listens from now on
        HandedOver, // the running one took the request: this start ends
        Alone,      // neither worked (no lock, nobody answering): run on its own
    };

    // `key` names the socket and the lock file; see KeyFor.
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    // The key of this process's user and the given settings folder.
    static QString KeyFor(const QString &settingsFolder);

    // Becomes the running one, or hands a capture request (with the
    // activation token this start was given, if any) to the running one.
    Role Start(const QString &activationToken = {});

    // The socket path (a pipe name on Windows) and the lock file.
    QString ServerName() const { return m_serverName; }
    QString LockPath() const { return m_lockPath; }

signals:
    // Another start asked for a capture; `activationToken` lets a Wayland
    // compositor give this window the focus.
    void captureRequested(const QString &activationToken);

private:
    bool listen();
    bool handOver(const QString &activationToken);
    void serve(QLocalSocket *socket);

    QString m_serverName;
    QString m_lockPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};
