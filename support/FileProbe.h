#pragma once

// The few file-system facts the INI engine needs, one implementation per platform.

#include <QByteArray>
#include <QString>

// What tells one version of a file from the next without reading it.
struct FileSignature
{
    qint64 size = 0;
    qint64 modifiedNs = 0; // since the epoch
    quint64 fileId = 0;    // inode, where the platform has one
    quint64 device = 0;

    bool operator==(const FileSignature &) const = default;
};

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
    FileSignature signature;
};

FileState ProbeFile(const QString &path);

// Reads a regular file of at most maxBytes whole, with the signature of what
// was read; false for anything else. Never blocks on a pipe.
bool ReadRegularFile(const QString &path, qint64 maxBytes, QByteArray *bytes,
                     FileSignature *signature);

// The wall clock, in nanoseconds since the epoch.
qint64 WallClockNs();
