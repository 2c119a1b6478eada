#include "CommandFileLock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

CommandFileLock::CommandFileLock(const QString &commandFilePath, std::chrono::milliseconds timeout)
{
    const QByteArray path = QFile::encodeName(LockPathFor(commandFilePath));
    const auto openLockFile = [&path](int flags) {
        int fd;
        do {
            fd = ::open(path.constData(), flags | O_CLOEXEC, 0644);
        } while (fd < 0 && errno == EINTR);
        return fd;
    };
    int fd = openLockFile(O_RDWR | O_CREAT);
    // A lock file another user made (root running the installer) still locks:
    // flock needs no write access.
    if (fd < 0 && errno == EACCES)
        fd = openLockFile(O_RDONLY);
    if (fd < 0)
        return;

    // flock has no timeout of its own: poll without blocking until the deadline.
    const QDeadlineTimer deadline(timeout);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_fd = fd;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;
        if (deadline.hasExpired()) {
            m_timedOut = true;
            break;
        }
        QThread::msleep(5);
    }
    ::close(fd);
}

CommandFileLock::~CommandFileLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString CommandFileLock::LockPathFor(const QString &commandFilePath)
{
    return commandFilePath + QStringLiteral(".lock");
}
