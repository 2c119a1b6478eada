#include "CheckedOutput.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace CheckedOutput {

namespace {

int writeSome(int fd, const char *buffer, std::size_t size)
{
#ifdef _WIN32
    return _write(fd, buffer, unsigned(size > 0x7fffffff ? 0x7fffffff : size));
#else
    return int(::write(fd, buffer, size > 0x7fffffff ? 0x7fffffff : size));
#endif
}

void reportFailure(const QString &program, const QString &what, const QString &reason)
{
    const QByteArray line = QStringLiteral("%1: %2: %3\n").arg(program, what, reason).toUtf8();
    WriteAll(StandardError, line);
}

// Set once before anything can fail; read by the terminate handler, which must
// not allocate.
const char *outOfMemoryProgram = "";
int outOfMemoryExitCode = 1;
std::terminate_handler previousHandler = nullptr;

bool handlingOutOfMemory()
{
    const std::exception_ptr current = std::current_exception();
    if (!current)
        return false;
    try {
        std::rethrow_exception(current);
    } catch (const std::bad_alloc &) {
        return true;
    } catch (...) {
        return false;
    }
}

[[noreturn]] void onTerminate()
{
    if (handlingOutOfMemory()) {
        const char *const message = ": not enough memory\n";
        WriteAll(StandardError, QByteArrayView(outOfMemoryProgram));
        WriteAll(StandardError, QByteArrayView(message));
        std::_Exit(outOfMemoryExitCode);
    }
    if (previousHandler != nullptr)
        previousHandler();
    std::abort();
}

} // namespace

bool WriteAll(int fd, QByteArrayView bytes, QString *reason)
{
    const char *buffer = bytes.data();
    auto size = std::size_t(bytes.size());
    while (size > 0) {
        const int written = writeSome(fd, buffer, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (reason != nullptr)
                *reason = written < 0 ? QString::fromLocal8Bit(std::strerror(errno))
                                      : QStringLiteral("nothing was written");
            return false;
        }
        buffer += written;
        size -= std::size_t(written);
    }
    return true;
}

bool WriteStandardOutput(const QString &program, QByteArrayView bytes)
{
    QString reason;
    if (WriteAll(StandardOutput, bytes, &reason))
        return true;
    reportFailure(program, QStringLiteral("cannot write standard output"), reason);
    return false;
}

bool FinishStandardOutput(const QString &program)
{
#ifdef _WIN32
    const int closed = _close(StandardOutput);
#else
    const int closed = ::close(StandardOutput);
#endif
    // Closed before (EBADF) is no failure of ours.
    if (closed == 0 || errno == EBADF || errno == EINTR)
        return true;
    reportFailure(program, QStringLiteral("cannot write standard output"),
                  QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

void ExitOnOutOfMemory(const char *program, int exitCode)
{
    outOfMemoryProgram = program;
    outOfMemoryExitCode = exitCode;
    previousHandler = std::set_terminate(onTerminate);
}

} // namespace CheckedOutput
