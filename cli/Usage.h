#pragma once

#include "CommandLine.h"

#include <QString>

// The overview that --help prints: every command, the options, exit codes and
// where the settings file is found.
QByteArray ProgramHelp();

// One command's synopsis and options, for "ordalis-cli COMMAND --help"; empty
// for a name that is no command.
QByteArray CommandHelp(const QString &command);

// Bad usage of a command: "ordalis-cli COMMAND: reason" and the command's
// synopsis on stderr. Returns the exit code for bad usage, 2.
int UsageFailure(const QString &command, const QString &reason);

// Exit code of a run whose input or output failed (and of bad usage).
inline constexpr int ExitFailure = 2;
// Exit code of a run that ran out of memory.
inline constexpr int ExitOutOfMemory = 3;

// Writes bytes to standard output; false, with "ordalis-cli COMMAND: cannot
// write standard output: reason" on standard error, when they did not arrive.
bool WriteStdout(const QString &command, QByteArrayView bytes);

// Where a command's options did not lead to a run: its help on stdout (exit
// code 0), or the usage failure (exit code 2).
int HelpOrUsageFailure(const QString &command, CommandLine::Outcome outcome, const QString &reason);
