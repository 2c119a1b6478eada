#pragma once

#include <QByteArrayView>
#include <QString>

// Replaces the file at path by bytes in one rename: a reader sees the old file
// or the new one, never a mix. A symbolic link stays a link and its target is
// replaced. The new file keeps the old one's owner and group (where the process
// may give them) and its mode, setgid included, so a run as root does not take
// a file from its owner. Temporary files that an earlier, killed write left
// beside it are removed. False, with the reason when one is asked for, when the
// file could not be replaced; then no temporary file is left.
bool ReplaceAtomically(const QString &path, QByteArrayView bytes, QString *reason = nullptr);
