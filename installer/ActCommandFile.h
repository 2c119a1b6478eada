#pragma once

// Formerly modACTReg.

#include "support/Registry.h"

#include <QString>
#include <QStringList>

// ACT!'s program folder as the registry records it, or the empty text when it
// is not recorded or does not fit the 255-byte buffer it has always been read
// into.
QString GetActFolder(const Registry &registry);
QString GetActFolder();

// What one clean-up of ACT!'s command file did, for the installer's report.
struct ActCmdCleanUp
{
    QString CommandFile; // empty when ACT! is not recorded
    bool FileFound = false;
    bool Busy = false;      // another program held the file past the timeout
    QStringList Removed;    // sections deleted
    QStringList Refused;    // sections the file would not let go
    QString CommandPassEnd; // a command with a name but no program that ended the pass
};

// Removes from ACT!'s command file the lowest-numbered command definition and
// the lowest-numbered toolbar entry named `name` (compared trimmed, in upper
// case). Raises nothing; a file that cannot be found is left alone.
ActCmdCleanUp RemoveActCmdEntries(const QString &name, const Registry &registry);
void RemoveActCmdEntries(const QString &name);
