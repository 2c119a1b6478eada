#pragma once

#include "IniDocument.h"

#include <QString>
#include <QStringView>

#include <memory>

// The file side of the INI engine. A read sees the file as it is on disk now,
// but parses it again only when it changed; a write replaces the file
// atomically and leaves it alone when nothing changes. A refused write (missing
// or read-only folder, read-only file) does nothing. No call reports failure.
namespace IniFile {

struct TextAssignment
{
    QString key;
    QString value;
};

// The file's current content; an empty document when it is missing, a folder
// or unreadable.
std::shared_ptr<const IniDocument> load(const QString &path);

// Writes the assignments into section, in order, as single writes would, in
// one replacement of the file, encoded as the file is (IniDocument::fileText).
void write(const QString &path, QStringView section, const QList<TextAssignment> &assignments);
void deleteSection(const QString &path, QStringView section);

} // namespace IniFile
