#include "IniFile.h"

#include "AtomicReplace.h"
#include "Diagnostics.h"
#include "FileProbe.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>

namespace {

// Beyond this an INI file is not a settings file: it reads as empty and is
// never rewritten.
constexpr qint64 MaxFileSize = qint64(64) << 20;

// Programs may write INI files from several threads (the stand-in's objects
// are called so); one read-change-replace at a time, so no write is lost.
QMutex &writeMutex()
{
    static QMutex mutex;
    return mutex;
}

const std::shared_ptr<const IniDocument> &emptyDocument()
{
    static const auto empty = std::make_shared<const IniDocument>();
    return empty;
}

// Why the folder or the file refuses a write, or nothing: the folder must exist
// and be writable, the file be missing or a writable regular file.
QString writeRefusal(const QString &path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return QStringLiteral("no usable file name");
    const FileState folder = ProbeFile(QFileInfo(path).absolutePath());
    if (folder.kind != FileKind::Folder)
        return QStringLiteral("its folder does not exist");
    if (!folder.writable)
        return QStringLiteral("its folder is not writable");
    const FileState file = ProbeFile(path);
    if (file.kind == FileKind::Missing || (file.kind == FileKind::Regular && file.writable))
        return {};
    return file.kind == FileKind::Regular ? QStringLiteral("the file is read-only")
                                          : QStringLiteral("it is not a regular file");
}

// Why a file that is there could not be read.
QString readFailure(const QString &path)
{
    if (QFileInfo(path).size() > MaxFileSize)
        return QStringLiteral("larger than %1 MiB").arg(MaxFileSize >> 20);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QStringLiteral("read failed") : file.errorString();
}

// The document of bytes, parsed anew only when they differ from the last ones
// read from path: a program reads its settings key by key, and parsing a large
// file for every key costs far more than reading it and comparing the bytes.
// One per thread: a document builds its key indexes as they are asked for.
std::shared_ptr<const IniDocument> parsed(const QString &path, QByteArray bytes)
{
    thread_local QString lastPath;
    thread_local std::shared_ptr<const IniDocument> last;
    if (!last || lastPath != path || last->bytes() != bytes) {
        last = std::make_shared<const IniDocument>(std::move(bytes));
        lastPath = path;
    }
    return last;
}

// The file's current content; an empty document when it is missing or not a
// regular file, nullptr when it is there but cannot be read (a write must not
// replace what it could not see).
std::shared_ptr<const IniDocument> current(const QString &path)
{
    if (ProbeFile(path).kind != FileKind::Regular)
        return emptyDocument();
    QByteArray bytes;
    if (!ReadRegularFile(path, MaxFileSize, &bytes))
        return nullptr;
    return parsed(path, std::move(bytes));
}

// The current content when a write may replace the file, else nullptr (and the
// reason in the log).
std::shared_ptr<const IniDocument> writable(const QString &path)
{
    const QString refusal = writeRefusal(path);
    if (!refusal.isEmpty()) {
        qCWarning(lcSettings).noquote() << "not written:" << path << "-" << refusal;
        return nullptr;
    }
    std::shared_ptr<const IniDocument> document = current(path);
    if (!document)
        qCWarning(lcSettings).noquote()
            << "not written:" << path << "- cannot read it:" << readFailure(path);
    return document;
}

void replace(const QString &path, const QByteArray &bytes)
{
    QString reason;
    if (!ReplaceAtomically(path, bytes, &reason))
        qCWarning(lcSettings).noquote() << "not written:" << path << "-" << reason;
}

} // namespace

namespace IniFile {

std::shared_ptr<const IniDocument> load(const QString &path, QString *unreadable)
{
    std::shared_ptr<const IniDocument> document = current(path);
    if (unreadable != nullptr) {
        switch (ProbeFile(path).kind) {
        case FileKind::Missing:
            break;
        case FileKind::Regular:
            if (!document)
                *unreadable = readFailure(path);
            break;
        case FileKind::Folder:
            *unreadable = QStringLiteral("it is a folder");
            break;
        case FileKind::Other:
            *unreadable = QStringLiteral("it is not a regular file");
            break;
        case FileKind::Inaccessible:
            *unreadable = QStringLiteral("it cannot be looked at");
            break;
        }
    }
    return document ? document : emptyDocument();
}

void write(const QString &path, QStringView section, const QList<TextAssignment> &assignments)
{
    const QMutexLocker locker(&writeMutex());
    const std::shared_ptr<const IniDocument> document = writable(path);
    if (!document)
        return;
    // A text the file's encoding cannot hold would be stored mangled: the whole
    // write is refused instead, and the log says why.
    const auto encoded = [&](QStringView text) {
        std::optional<QByteArray> bytes = document->fileText(text);
        if (!bytes)
            qCWarning(lcSettings).noquote()
                << QStringLiteral("%1 nicht geschrieben: „%2“ passt nicht in die Kodierung der "
                                  "Datei (%3)")
                       .arg(path, text, document->unmappable(text));
        return bytes;
    };
    const std::optional<QByteArray> sectionBytes = encoded(section);
    if (!sectionBytes)
        return;
    QList<IniDocument::Assignment> lines;
    lines.reserve(assignments.size());
    for (const TextAssignment &assignment : assignments) {
        std::optional<QByteArray> key = encoded(assignment.key);
        std::optional<QByteArray> value = key ? encoded(assignment.value) : std::nullopt;
        if (!value)
            return;
        lines.append({std::move(*key), std::move(*value)});
    }
    const std::optional<QByteArray> next = document->withValues(*sectionBytes, lines);
    if (next)
        replace(path, *next);
}

void deleteSection(const QString &path, QStringView section)
{
    const QMutexLocker locker(&writeMutex());
    const std::shared_ptr<const IniDocument> document = writable(path);
    if (!document)
        return;
    // A name the file cannot hold names none of its sections.
    const std::optional<QByteArray> name = document->fileText(section);
    const std::optional<QByteArray> next = name ? document->withoutSection(*name) : std::nullopt;
    if (next)
        replace(path, *next);
}

void edit(const QString &path, const Edit &edit)
{
    const QMutexLocker locker(&writeMutex());
    const std::shared_ptr<const IniDocument> document = writable(path);
    if (!document)
        return;
    const std::optional<QByteArray> next = edit(*document);
    if (next && *next != document->bytes())
        replace(path, *next);
}

} // namespace IniFile
