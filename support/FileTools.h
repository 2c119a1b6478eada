#pragma once

#include <QString>

// True when path names a regular file that is not hidden (on Linux: its name
// does not begin with a dot). Folders, missing paths and any error give false.
bool FileExists(const QString &path);
