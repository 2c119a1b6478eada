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
    int fd;
    do {
        fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
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
