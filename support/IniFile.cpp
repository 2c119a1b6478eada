#include "IniFile.h"

#include "AtomicReplace.h"
#include "Diagnostics.h"
#include "FileProbe.h"

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

// The current content when a write may replace the file, else nullptr.
std::shared_ptr<const IniDocument> writable(const QString &path)
{
    return mayWrite(path) ? current(path) : nullptr;
}

} // namespace

namespace IniFile {

std::shared_ptr<const IniDocument> load(const QString &path)
{
    std::shared_ptr<const IniDocument> document = current(path);
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
        ReplaceAtomically(path, *next);
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
        ReplaceAtomically(path, *next);
}

void edit(const QString &path, const Edit &edit)
{
    const QMutexLocker locker(&writeMutex());
    const std::shared_ptr<const IniDocument> document = writable(path);
    if (!document)
        return;
    const std::optional<QByteArray> next = edit(*document);
    if (next && *next != document->bytes())
        ReplaceAtomically(path, *next);
}

} // namespace IniFile
