#pragma once

#include "support/Registry.h"

#include <QString>

// ACT!'s program folder as the registry records it, or the empty text when it
// is not recorded or does not fit the 255-byte buffer it has always been read
// into.
QString GetActFolder(const Registry &registry);
QString GetActFolder();

// Removes from ACT!'s command file the lowest-numbered command definition and
// the lowest-numbered toolbar entry named `name` (compared trimmed, in upper
// case). Never reports anything; a file that cannot be found is left alone.
void RemoveActCmdEntries(const QString &name, const Registry &registry);
void RemoveActCmdEntries(const QString &name);
