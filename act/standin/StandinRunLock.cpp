#include "StandinRunLock.h"

#include <QByteArrayView>
#include <QFile>
#include <QHash>
#include <QMutex>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
    // A program probing at this very moment holds a shared lock for a few
    // microseconds; only a lock that stays taken means another stand-in runs.
    bool acquired = false;
    for (int attempt = 0; attempt < 50 && !acquired; ++attempt) {
        acquired = flockRetrying(fd, LOCK_EX | LOCK_NB) == 0;
        if (!acquired)
            ::usleep(2000);
    }
    if (!acquired) {
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

namespace {

// The open lock file still is the one at lockPath (not replaced since opened).
bool sameFile(int fd, const QString &lockPath)
{
    struct stat opened
    {};
    struct stat named
    {};
    return ::fstat(fd, &opened) == 0 &&
           ::stat(QFile::encodeName(lockPath).constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

StandinRunLock::Probe StandinRunLock::Look(const QString &lockPath)
{
    // Every ACT! call looks, thousands per field load: the lock file stays open
    // per path instead of being opened and closed each time. The objects may be
    // called from several threads at once, so the open files are shared under a lock.
    static QHash<QString, int> openFiles;
    static QMutex openFilesMutex;
    const QMutexLocker locker(&openFilesMutex);

    int fd = -1;
    for (;;) {
        auto found = openFiles.find(lockPath);
        if (found == openFiles.end()) {
            fd = openLockFile(lockPath, O_RDONLY);
            if (fd < 0)
                return {}; // not there yet: nobody runs; try again next time
            found = openFiles.insert(lockPath, fd);
        }
        fd = *found;
        // A shared probe never collides with another program's probe, only with
        // the holder's exclusive lock.
        if (flockRetrying(fd, LOCK_SH | LOCK_NB) != 0)
            break;
        flockRetrying(fd, LOCK_UN);
        if (sameFile(fd, lockPath))
            return {};
        // A new lock file took the old one's place: look at that one.
        ::close(fd);
        openFiles.erase(found);
    }

    Probe probe;
    probe.running = errno == EWOULDBLOCK;
    if (probe.running) {
        char state[32];
        const ssize_t size = ::pread(fd, state, sizeof state, 0);
        probe.databaseOpen = !(size >= NoDatabaseState.size() &&
                               QByteArrayView(state, NoDatabaseState.size()) == NoDatabaseState);
    }
    return probe;
}

bool StandinRunLock::IsHeld(const QString &lockPath)
{
    return Look(lockPath).running;
}
