#include "IniFile.h"

#include "Cp1252.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using StatBuffer = struct stat;

// What tells one version of a file from the next without reading it.
struct Signature
{
    qint64 size = 0;
    qint64 mtimeSeconds = 0;
    qint64 mtimeNanoseconds = 0;
    quint64 inode = 0;
    quint64 device = 0;

    bool operator==(const Signature &) const = default;

    static Signature of(const struct stat &st)
    {
        return {qint64(st.st_size), qint64(st.st_mtim.tv_sec), qint64(st.st_mtim.tv_nsec),
                quint64(st.st_ino), quint64(st.st_dev)};
    }
    qint64 mtimeInNanoseconds() const { return mtimeSeconds * 1000000000LL + mtimeNanoseconds; }
};

struct CacheEntry
{
    Signature signature;
    std::shared_ptr<const IniDocument> document;
    qint64 checkedAt = 0; // wall clock, ns
};

// File time stamps are coarse (a clock tick, on some file systems seconds): a
// second change within the same stamp and size would go unseen. A file touched
// this recently is therefore compared by content before its parse is reused.
constexpr qint64 RacyWindowNs = 2'000'000'000LL;
constexpr int MaxCachedFiles = 32;
// Beyond this an INI file is not a settings file: it reads as empty and is
// never rewritten.
constexpr qint64 MaxFileSize = qint64(64) << 20;

qint64 nowNs()
{
    struct timespec now
    {};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

QHash<QString, CacheEntry> &cache()
{
    static QHash<QString, CacheEntry> entries;
    return entries;
}

const std::shared_ptr<const IniDocument> &emptyDocument()
{
    static const auto empty = std::make_shared<const IniDocument>();
    return empty;
}

bool statPath(const QString &path, struct stat *st)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    return ::stat(QFile::encodeName(path).constData(), st) == 0;
}

// Writable for us, and not marked read-only for everybody: the read-only mark is
// honoured even by a privileged user, as the platform's read-only attribute is.
bool writable(const QString &path, const struct stat &st)
{
    return (st.st_mode & 0222) != 0 && ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

// Reads a regular file whole; false for anything else.
bool readFile(const QString &path, QByteArray *bytes, Signature *signature)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    StatBuffer st{};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= MaxFileSize;
    if (ok) {
        *signature = Signature::of(st);
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
            if (done > MaxFileSize)
                ok = false;
        }
        data.truncate(done);
        *bytes = std::move(data);
    }
    ::close(fd);
    return ok;
}

void remember(const QString &path, const Signature &signature,
              std::shared_ptr<const IniDocument> document)
{
    auto &entries = cache();
    if (entries.size() >= MaxCachedFiles && !entries.contains(path))
        entries.clear();
    entries.insert(path, CacheEntry{signature, std::move(document), nowNs()});
}

// The folder and the file allow a write: the folder exists and is writable, the
// file is missing or a writable regular file.
bool mayWrite(const QString &path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    StatBuffer folder{};
    const QString folderPath = QFileInfo(path).absolutePath();
    if (!statPath(folderPath, &folder) || !S_ISDIR(folder.st_mode) || !writable(folderPath, folder))
        return false;
    StatBuffer file{};
    if (!statPath(path, &file))
        return errno == ENOENT;
    return S_ISREG(file.st_mode) && writable(path, file);
}

void replaceFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        file.commit(); // only removes the temporary file
        return;
    }
    if (!file.commit())
        return;
    StatBuffer st{};
    if (statPath(path, &st))
        remember(path, Signature::of(st), std::make_shared<const IniDocument>(bytes));
    else
        cache().remove(path);
}

// The file's current content; an empty document when it is missing or not a
// regular file, nullptr when it is there but cannot be read (a write must not
// replace what it could not see).
std::shared_ptr<const IniDocument> current(const QString &path)
{
    auto &entries = cache();
    StatBuffer st{};
    if (!statPath(path, &st) || !S_ISREG(st.st_mode)) {
        entries.remove(path);
        return emptyDocument();
    }
    const Signature onDisk = Signature::of(st);
    const auto found = entries.find(path);
    const bool known = found != entries.end() && found->signature == onDisk;
    if (known && found->checkedAt - onDisk.mtimeInNanoseconds() >= RacyWindowNs)
        return found->document;

    QByteArray bytes;
    Signature signature;
    if (!readFile(path, &bytes, &signature)) {
        entries.remove(path);
        return nullptr;
    }
    if (known && signature == onDisk && bytes == found->document->bytes()) {
        found->checkedAt = nowNs();
        return found->document;
    }
    auto document = std::make_shared<const IniDocument>(std::move(bytes));
    remember(path, signature, document);
    return document;
}

} // namespace

namespace IniFile {

QByteArray toFileText(QStringView text)
{
    QByteArray bytes = Cp1252::fromUnicode(text);
    for (char &byte : bytes) {
        if (static_cast<unsigned char>(byte) < 0x20 || byte == 0x7F)
            byte = ' ';
    }
    return bytes;
}

std::shared_ptr<const IniDocument> load(const QString &path)
{
    std::shared_ptr<const IniDocument> document = current(path);
    return document ? document : emptyDocument();
}

void write(const QString &path, QByteArrayView section,
           const QList<IniDocument::Assignment> &assignments)
{
    const std::shared_ptr<const IniDocument> document = mayWrite(path) ? current(path) : nullptr;
    if (!document)
        return;
    const std::optional<QByteArray> next = document->withValues(section, assignments);
    if (next)
        replaceFile(path, *next);
}

void deleteSection(const QString &path, QByteArrayView section)
{
    const std::shared_ptr<const IniDocument> document = mayWrite(path) ? current(path) : nullptr;
    if (!document)
        return;
    const std::optional<QByteArray> next = document->withoutSection(section);
    if (next)
        replaceFile(path, *next);
}

} // namespace IniFile
