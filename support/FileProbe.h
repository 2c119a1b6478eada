#pragma once

// The few file-system facts the INI engine needs, one implementation per platform.

#include <QByteArray>
#include <QString>

enum class FileKind {
    Missing, // nothing at the path
    Regular,
    Folder,
    Other,        // device, pipe, socket ...
    Inaccessible, // something is there, but it cannot be looked at
};

struct FileState
{
    FileKind kind = FileKind::Missing;
    // Writable for us and not marked read-only: the mark is honoured even by a
    // privileged user, as the platform's read-only attribute is.
    bool writable = false;
};

FileState ProbeFile(const QString &path);

// Reads a regular file of at most maxBytes whole; false for anything else.
// Never blocks on a pipe.
bool ReadRegularFile(const QString &path, qint64 maxBytes, QByteArray *bytes);
