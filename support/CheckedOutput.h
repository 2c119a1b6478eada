#pragma once

#include <QByteArrayView>
#include <QString>

// Writes whose failure is never lost: a full disk, a closed pipe or /dev/full
// is reported, so no program calls a job done whose output did not arrive.
namespace CheckedOutput {

constexpr int StandardOutput = 1;
constexpr int StandardError = 2;

// Writes all of bytes to fd, going on after signals and partial writes; false
// when they could not all be written, with the reason when one is asked for.
bool WriteAll(int fd, QByteArrayView bytes, QString *reason = nullptr);

// WriteAll to standard output; on failure "PROGRAM: cannot write standard
// output: REASON" goes to standard error.
bool WriteStandardOutput(const QString &program, QByteArrayView bytes);

// Closes standard output at the end of a run: some file systems report a
// failed write only then. False, with the message on standard error, when it
// failed.
bool FinishStandardOutput(const QString &program);

// A failed allocation anywhere (any thread, any depth) ends the program with
// "PROGRAM: not enough memory" on standard error and exitCode, instead of an
// abort. Every other unhandled exception ends it as before.
void ExitOnOutOfMemory(const char *program, int exitCode);

} // namespace CheckedOutput
