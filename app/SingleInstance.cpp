#include "SingleInstance.h"

#include "AppDiagnostics.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const QByteArray CaptureRequest = QByteArrayLiteral("capture");
const QByteArray Acknowledged = QByteArrayLiteral("ok\n");
// A request is one short line; a longer one is not from Ordalis.
constexpr qint64 MaxRequestLength = 4096;
// How long a start keeps trying while the running one gets its socket up or goes away.
constexpr int HandOverTimeoutMs = 5000;
constexpr int RetryIntervalMs = 100;
constexpr int ConnectTimeoutMs = 1000;
constexpr int WriteTimeoutMs = 2000;
// The running one may be inside a long ACT! call; the request waits in the socket.
constexpr int AcknowledgeTimeoutMs = 3000;

QString userIdentity()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return qEnvironmentVariable("USERDOMAIN") + u'\\' + qEnvironmentVariable("USERNAME");
#endif
}

// The user's own runtime folder where there is one (only the user may enter
// it), else the temporary folder, which is the user's own on Windows.
QString runtimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir::cleanPath(runtime);
    return QDir::tempPath();
}

} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent) : QObject(parent)
{
    const QString folder = runtimeFolder();
#ifdef Q_OS_WIN
    m_serverName = key; // a pipe name; pipes live in no folder
#else
    m_serverName = folder + u'/' + key + QStringLiteral(".socket");
#endif
    m_lockPath = folder + u'/' + key + QStringLiteral(".lock");
}

SingleInstance::~SingleInstance()
{
    // The socket goes before the lock, so a start that gets the lock finds no live socket.
    delete m_server;
    m_server = nullptr;
    m_lock.reset();
}

QString SingleInstance::KeyFor(const QString &settingsFolder)
{
    const QByteArray identity = (userIdentity() + u'\n' + settingsFolder).toUtf8();
    const QByteArray digest = QCryptographicHash::hash(identity, QCryptographicHash::Sha256);
    return QStringLiteral("ordalis-") + QString::fromLatin1(digest.toHex().left(16));
}

SingleInstance::Role SingleInstance::Start(const QString &activationToken)
{
    auto lock = std::make_unique<QLockFile>(m_lockPath);
    // Only a dead owner makes the lock stale, however long the owner has run.
    lock->setStaleLockTime(0);
    const QDeadlineTimer deadline(HandOverTimeoutMs);
    for (;;) {
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            return listen() ? Role::First : Role::Alone;
        }
        if (handOver(activationToken))
            return Role::HandedOver;
        // Held, but nobody answers yet: the owner is starting or ending.
        if (lock->error() != QLockFile::LockFailedError || deadline.hasExpired())
            break;
        QThread::msleep(RetryIntervalMs);
    }
    qCWarning(lcApp).noquote() << "no hand-over to a running Ordalis, starting alone; lock"
                               << m_lockPath << "error" << lock->error();
    return Role::Alone;
}

bool SingleInstance::listen()
{
    // We hold the lock, so a socket found now is one a killed Ordalis left.
    QLocalServer::removeServer(m_serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_serverName)) {
        qCWarning(lcApp).noquote()
            << "cannot listen on" << m_serverName << ":" << m_server->errorString();
        delete m_server;
        m_server = nullptr;
        // Held without a socket, it would only make later starts wait.
        m_lock.reset();
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection())
            serve(socket);
    });
    return true;
}

bool SingleInstance::handOver(const QString &activationToken)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    socket.write(CaptureRequest + ' ' + activationToken.toUtf8() + '\n');
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(WriteTimeoutMs))
            return false;
    }
    // Once written, the request is the running one's: sending it again would
    // capture twice. The answer only tells it arrived before this start ends.
    const QDeadlineTimer deadline(AcknowledgeTimeoutMs);
    while (!socket.canReadLine() && socket.waitForReadyRead(int(deadline.remainingTime()))) {
    }
    if (socket.readLine() != Acknowledged)
        qCInfo(lcApp) << "the running Ordalis has not answered yet";
    return true;
}

void SingleInstance::serve(QLocalSocket *socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    const auto readRequest = [this, socket] {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > MaxRequestLength)
                socket->abort();
            return;
        }
        const QByteArray line = socket->readLine(MaxRequestLength).trimmed();
        socket->write(Acknowledged);
        socket->flush();
        socket->disconnectFromServer();
        if (line == CaptureRequest || line.startsWith(CaptureRequest + ' ')) {
            emit captureRequested(QString::fromUtf8(line.mid(CaptureRequest.size()).trimmed()));
        }
    };
    connect(socket, &QLocalSocket::readyRead, this, readRequest);
    readRequest(); // what came with the connection
}
