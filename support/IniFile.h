#pragma once

#include "IniDocument.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <memory>
#include <optional>

// The file side of the INI engine. A read sees the file as it is on disk now; a
// write replaces the file atomically and leaves it alone when nothing changes.
// A refused write (missing or read-only folder, read-only file) does nothing
// but leave its reason under ordalis.settings. No call reports failure.
namespace IniFile {

struct TextAssignment
{
    QString key;
    QString value;
};

// The file's current content; an empty document when it is missing, a folder
// or unreadable (then unreadable, when given, says why).
std::shared_ptr<const IniDocument> load(const QString &path, QString *unreadable = nullptr);

// Writes the assignments into section, in order, as single writes would, in
// one replacement of the file, encoded as the file is (IniDocument::fileText).
void write(const QString &path, QStringView section, const QList<TextAssignment> &assignments);
void deleteSection(const QString &path, QStringView section);

// Replaces the file once with what edit makes of its current content; nullopt
// leaves it alone. Several changes made so are one replacement: a reader sees
// all or none of them. edit runs under the write lock and must not write
// through IniFile.
using Edit = std::function<std::optional<QByteArray>(const IniDocument &)>;
void edit(const QString &path, const Edit &edit);

} // namespace IniFile
