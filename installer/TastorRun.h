#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class Registry;

// Where one run of the installer stopped.
enum class TastorOutcome {
    EmptyCommandLine,
    ButtonFileMissing,
    NotANumber,
    NoProgram,      // adding a command that would start nothing
    ActUnavailable, // the commands object could not be created
    AddRefused,     // AddAuxCommand answered non-zero
    Added,
    NotKnown, // removal asked for a command ACT! does not have
    Removed,
    ActFailed, // a call to ACT! failed part-way
};

struct TastorSetup
{
    // Bare file names in the button file and on the command line are taken from here.
    QString OwnFolder;
    // Where ACT! is recorded; the system's registry when null.
    const Registry *ActRegistry = nullptr;
    // One line per step for whoever wants to see why nothing happened.
    std::function<void(const QString &)> Report;
};

// The program's arguments as the one command line they were split from.
QString CommandLineFromArguments(const QStringList &arguments);

// One whole run: the button file named by commandLine is read and its command
// added to ACT! (and its toolbars) or removed. Never throws, never shows anything.
TastorOutcome RunTastor(const QString &commandLine, const TastorSetup &setup);
