#include "StandinRunLock.h"

#include <QByteArrayView>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace {

const QByteArray NoDatabaseState = "database=none\n";
const QByteArray OpenDatabaseState = "database=open\n";

int openLockFile(const QString &path, int flags)
{
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(native.constData(), flags | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int flockRetrying(int fd, int operation)
{
    int result;
    do {
        result = ::flock(fd, operation);
    } while (result < 0 && errno == EINTR);
    return result;
}

} // namespace

StandinRunLock::StandinRunLock(QString lockPath) : m_lockPath(std::move(lockPath)) {}

StandinRunLock::~StandinRunLock()
{
    Release();
}

bool StandinRunLock::TryAcquire()
{
    if (m_fd >= 0)
        return true;
    const int fd = openLockFile(m_lockPath, O_RDWR | O_CREAT);
    if (fd < 0)
        return false;
    if (flockRetrying(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    // A holder killed earlier left its state behind; none is better than stale.
    [[maybe_unused]] const int truncated = ::ftruncate(m_fd, 0);
    return true;
}

void StandinRunLock::PublishDatabaseOpen(bool open)
{
    if (m_fd < 0)
        return;
    const QByteArray &state = open ? OpenDatabaseState : NoDatabaseState;
    if (::ftruncate(m_fd, 0) == 0) [[maybe_unused]]
        const ssize_t written = ::pwrite(m_fd, state.constData(), state.size(), 0);
}

void StandinRunLock::Release()
{
    if (m_fd < 0)
        return;
    // Cleared so that a stale state never outlives the holder.
    if (::ftruncate(m_fd, 0) != 0) {
        // nothing to do: the lock below still goes away
    }
    ::close(m_fd);
    m_fd = -1;
}

StandinRunLock::Probe StandinRunLock::Look(const QString &lockPath)
{
    Probe probe;
    const int fd = openLockFile(lockPath, O_RDONLY);
    if (fd < 0)
        return probe;
    probe.running = flockRetrying(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (probe.running) {
        char state[32];
        const ssize_t size = ::pread(fd, state, sizeof state, 0);
        probe.databaseOpen = !(size >= NoDatabaseState.size() &&
                               QByteArrayView(state, NoDatabaseState.size()) == NoDatabaseState);
    }
    ::close(fd); // also drops the lock if we got it
    return probe;
}

bool StandinRunLock::IsHeld(const QString &lockPath)
{
    return Look(lockPath).running;
}
