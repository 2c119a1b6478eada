#include "IniFile.h"

#include "AtomicReplace.h"
#include "FileProbe.h"

#include <QFileInfo>
#include <QHash>
#include <QMutex>

namespace {

struct CacheEntry
{
    FileSignature signature;
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

// Programs may read and write INI files from several threads (the stand-in's
// objects are called so); the one parse cache is used under this lock.
QMutex &cacheMutex()
{
    static QMutex mutex;
    return mutex;
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

void remember(const QString &path, const FileSignature &signature,
              std::shared_ptr<const IniDocument> document)
{
    auto &entries = cache();
    if (entries.size() >= MaxCachedFiles && !entries.contains(path))
        entries.clear();
    entries.insert(path, CacheEntry{signature, std::move(document), WallClockNs()});
}

// The folder and the file allow a write: the folder exists and is writable, the
// file is missing or a writable regular file.
bool mayWrite(const QString &path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    const FileState folder = ProbeFile(QFileInfo(path).absolutePath());
    if (folder.kind != FileKind::Folder || !folder.writable)
        return false;
    const FileState file = ProbeFile(path);
    if (file.kind == FileKind::Missing)
        return true;
    return file.kind == FileKind::Regular && file.writable;
}

void replaceFile(const QString &path, const QByteArray &bytes)
{
    if (!ReplaceAtomically(path, bytes))
        return;
    const FileState written = ProbeFile(path);
    if (written.kind == FileKind::Regular)
        remember(path, written.signature, std::make_shared<const IniDocument>(bytes));
    else
        cache().remove(path);
}

// The file's current content; an empty document when it is missing or not a
// regular file, nullptr when it is there but cannot be read (a write must not
// replace what it could not see).
std::shared_ptr<const IniDocument> current(const QString &path)
{
    auto &entries = cache();
    const FileState state = ProbeFile(path);
    if (state.kind != FileKind::Regular) {
        entries.remove(path);
        return emptyDocument();
    }
    const FileSignature &onDisk = state.signature;
    const auto found = entries.find(path);
    const bool known = found != entries.end() && found->signature == onDisk;
    if (known && found->checkedAt - onDisk.modifiedNs >= RacyWindowNs)
        return found->document;

    QByteArray bytes;
    FileSignature signature;
    if (!ReadRegularFile(path, MaxFileSize, &bytes, &signature)) {
        entries.remove(path);
        return nullptr;
    }
    if (known && signature == onDisk && bytes == found->document->bytes()) {
        found->checkedAt = WallClockNs();
        return found->document;
    }
    auto document = std::make_shared<const IniDocument>(std::move(bytes));
    remember(path, signature, document);
    return document;
}

} // namespace

namespace IniFile {

std::shared_ptr<const IniDocument> load(const QString &path)
{
    const QMutexLocker locker(&cacheMutex());
    std::shared_ptr<const IniDocument> document = current(path);
    return document ? document : emptyDocument();
}

void write(const QString &path, QStringView section, const QList<TextAssignment> &assignments)
{
    const QMutexLocker locker(&cacheMutex());
    const std::shared_ptr<const IniDocument> document = mayWrite(path) ? current(path) : nullptr;
    if (!document)
        return;
    QList<IniDocument::Assignment> encoded;
    encoded.reserve(assignments.size());
    for (const TextAssignment &assignment : assignments)
        encoded.append({document->fileText(assignment.key), document->fileText(assignment.value)});
    const std::optional<QByteArray> next =
        document->withValues(document->fileText(section), encoded);
    if (next)
        replaceFile(path, *next);
}

void deleteSection(const QString &path, QStringView section)
{
    const QMutexLocker locker(&cacheMutex());
    const std::shared_ptr<const IniDocument> document = mayWrite(path) ? current(path) : nullptr;
    if (!document)
        return;
    const std::optional<QByteArray> next = document->withoutSection(document->fileText(section));
    if (next)
        replaceFile(path, *next);
}

void edit(const QString &path, const Edit &edit)
{
    const QMutexLocker locker(&cacheMutex());
    const std::shared_ptr<const IniDocument> document = mayWrite(path) ? current(path) : nullptr;
    if (!document)
        return;
    const std::optional<QByteArray> next = edit(*document);
    if (next && *next != document->bytes())
        replaceFile(path, *next);
}

} // namespace IniFile
