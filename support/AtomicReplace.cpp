#include "AtomicReplace.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// A younger one may belong to a write in flight in another process.
constexpr qint64 StaleAfterSeconds = 60;
constexpr int TemporarySuffixLength = 6; // QSaveFile's "<name>.XXXXXX"

// Where QSaveFile writes: the end of a chain of symbolic links.
QString finalPath(const QString &path)
{
    QFileInfo info(path);
    int depth = 128;
    while (--depth && info.isSymLink())
        info.setFile(info.symLinkTarget());
    return depth > 0 ? info.filePath() : path;
}

bool isTemporaryName(const QString &name, const QString &prefix)
{
    if (name.size() != prefix.size() + TemporarySuffixLength || !name.startsWith(prefix))
        return false;
    for (qsizetype i = prefix.size(); i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')))
            return false;
    }
    return true;
}

void removeStaleTemporaries(const QString &target)
{
    const QFileInfo info(target);
    const QString prefix = info.fileName() + u'.';
    const QDir folder = info.dir();
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-StaleAfterSeconds);
    const QStringList names =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString &name : names) {
        if (!isTemporaryName(name, prefix))
            continue;
        const QFileInfo candidate(folder.filePath(name));
        if (candidate.isSymLink() || !candidate.isFile() ||
            candidate.lastModified().toUTC() >= staleBefore)
            continue;
        QFile::remove(candidate.filePath());
    }
}

#ifndef Q_OS_WIN
// QSaveFile's new file belongs to whoever writes it and carries no setgid bit.
void keepOwnerAndMode(int fd, const struct stat &old)
{
    struct stat now
    {};
    if (::fstat(fd, &now) != 0)
        return;
    if (now.st_uid != old.st_uid || now.st_gid != old.st_gid) {
        // Only root may give a file away; an owner may still keep its group.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)!::fchown(fd, uid_t(-1), old.st_gid);
    }
    // After the chown, which may clear setgid.
    ::fchmod(fd, old.st_mode & 07777);
}
#endif

} // namespace

bool ReplaceAtomically(const QString &path, QByteArrayView bytes, QString *reason)
{
    const QString target = finalPath(path);
    removeStaleTemporaries(target);

    QSaveFile file(path);
    // QSaveFile keeps no reason for a failed write; the system's is still in errno.
    errno = 0;
    const auto failed = [&file, reason] {
        if (reason != nullptr)
            *reason =
                errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : file.errorString();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed();
#ifndef Q_OS_WIN
    struct stat old
    {};
    if (::stat(QFile::encodeName(target).constData(), &old) == 0 && S_ISREG(old.st_mode))
        keepOwnerAndMode(file.handle(), old);
#endif
    // Flushed here, where the reason (a full disk) is still known; commit() only fails.
    errno = 0;
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush()) {
        failed();
        file.cancelWriting();
        file.commit(); // only removes the temporary file
        return false;
    }
    // A failed commit (the flush and sync find a full disk) removes its temporary file.
    return file.commit() || failed();
}
