#include "StreamIo.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <csignal>

#include <fcntl.h>

#ifdef _WIN32
#include <io.h>
#else
#include <pthread.h>
#include <unistd.h>
#endif

namespace StreamIo {

namespace {

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int)
{
    interrupted.store(true);
}

} // namespace

ReadEnd ReadSome(int fd, char *buffer, std::size_t size, std::size_t &count)
{
    count = 0;
    while (true) {
        if (Interrupted())
            return ReadEnd::Interrupted;
#ifdef _WIN32
        const int got = _read(fd, buffer, unsigned(size > 0x7fffffff ? 0x7fffffff : size));
#else
        const ssize_t got = ::read(fd, buffer, size);
#endif
        if (got > 0) {
            count = std::size_t(got);
            return ReadEnd::Data;
        }
        if (got == 0)
            return ReadEnd::EndOfInput;
        if (errno != EINTR)
            return ReadEnd::Failed;
    }
}

bool IsTerminal(int fd)
{
#ifdef _WIN32
    return _isatty(fd) != 0;
#else
    return isatty(fd) != 0;
#endif
}

int OpenForReading(const QString &path)
{
#ifdef _WIN32
    return _wopen(reinterpret_cast<const wchar_t *>(path.utf16()), _O_RDONLY | _O_BINARY);
#else
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
#endif
}

void Close(int fd)
{
#ifdef _WIN32
    _close(fd);
#else
    ::close(fd);
#endif
}

void CatchInterrupt()
{
#ifdef _WIN32
    std::signal(SIGINT, onInterrupt);
#else
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a waiting read returns and sees the flag
    sigaction(SIGINT, &action, nullptr);
#endif
}

bool Interrupted()
{
    return interrupted.load(std::memory_order_relaxed);
}

void BlockInterrupt(bool blocked)
{
#ifndef _WIN32
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    pthread_sigmask(blocked ? SIG_BLOCK : SIG_UNBLOCK, &set, nullptr);
#else
    (void)blocked;
#endif
}

} // namespace StreamIo
