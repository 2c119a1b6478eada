#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// The few system calls a streaming run needs, the same on every platform:
// reads that return what is there (a line from a terminal or a waiting pipe)
// instead of waiting for a full buffer. Writes are support/CheckedOutput's.
namespace StreamIo {

constexpr int StandardInput = 0;
constexpr int StandardError = 2;

enum class ReadEnd { Data, EndOfInput, Interrupted, Failed };

// Reads up to size bytes, at least one unless the input ended; count is set to
// what was read.
ReadEnd ReadSome(int fd, char *buffer, std::size_t size, std::size_t &count);

bool IsTerminal(int fd);

// Opens path for binary reading; -1 on failure (errno says why).
int OpenForReading(const QString &path);
void Close(int fd);

// Ctrl-C no longer ends the program at once: it interrupts a waiting read and
// raises the flag, and the program ends after writing whole lines.
void CatchInterrupt();
bool Interrupted();

// Threads started while Ctrl-C is blocked keep it blocked, so the signal
// reaches the thread that reads.
void BlockInterrupt(bool blocked);

} // namespace StreamIo
