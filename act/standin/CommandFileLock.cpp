#include "CommandFileLock.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

CommandFileLock::CommandFileLock(const QString &commandFilePath)
{
    const QByteArray path = QFile::encodeName(LockPathFor(commandFilePath));
    int fd;
    do {
        fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return;
    int result;
    do {
        result = ::flock(fd, LOCK_EX);
    } while (result < 0 && errno == EINTR);
    if (result != 0) {
        ::close(fd);
        return;
    }
    m_fd = fd;
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
