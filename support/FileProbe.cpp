#include "FileProbe.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <QFileInfo>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
bool usablePath(const QString &path)
{
    return !path.isEmpty() && !path.contains(QChar(0));
}
} // namespace

#ifndef Q_OS_WIN

namespace {
FileKind kindOf(const struct stat &st)
{
    if (S_ISREG(st.st_mode))
        return FileKind::Regular;
    if (S_ISDIR(st.st_mode))
        return FileKind::Folder;
    return FileKind::Other;
}
} // namespace

FileState ProbeFile(const QString &path)
{
    if (!usablePath(path))
        return {FileKind::Inaccessible, false};
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat st
    {};
    if (::stat(nativePath.constData(), &st) != 0)
        return {errno == ENOENT ? FileKind::Missing : FileKind::Inaccessible, false};
    const bool writable = (st.st_mode & 0222) != 0 && ::access(nativePath.constData(), W_OK) == 0;
    return {kindOf(st), writable};
}

bool ReadRegularFile(const QString &path, qint64 maxBytes, QByteArray *bytes)
{
    if (!usablePath(path))
        return false;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st
    {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= maxBytes;
    if (ok) {
        QByteArray data;
        data.resize(qsizetype(st.st_size));
        qsizetype done = 0;
        while (ok) {
            if (done == data.size())
                data.resize(data.size() + 65536); // the file grew while we read it
            const ssize_t n = ::read(fd, data.data() + done, size_t(data.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                ok = false;
            else if (n == 0)
                break;
            else
                done += n;
            if (done > maxBytes)
                ok = false;
        }
        data.truncate(done);
        *bytes = std::move(data);
    }
    ::close(fd);
    return ok;
}

#else // Windows: what Qt knows of a file serves; there are no pipes at file paths.

FileState ProbeFile(const QString &path)
{
    if (!usablePath(path))
        return {FileKind::Inaccessible, false};
    const QFileInfo info(path);
    if (!info.exists())
        return {FileKind::Missing, false};
    const FileKind kind =
        info.isFile() ? FileKind::Regular : (info.isDir() ? FileKind::Folder : FileKind::Other);
    return {kind, info.isWritable()};
}

bool ReadRegularFile(const QString &path, qint64 maxBytes, QByteArray *bytes)
{
    if (!usablePath(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QFileInfo info(file);
    if (!info.isFile() || file.size() > maxBytes)
        return false;
    QByteArray data = file.readAll();
    if (data.size() > maxBytes || file.error() != QFileDevice::NoError)
        return false;
    *bytes = std::move(data);
    return true;
}

#endif
