#pragma once

#include "StreamIo.h"

#include <QByteArray>
#include <QString>

// Cuts an input stream into batches of whole lines, one read at a time: a
// file goes in chunks of a fixed size, a terminal or a waiting pipe as soon as
// a line is there. Memory stays at one chunk and the longest line.
class LineBatchReader
{
public:
    static constexpr std::size_t ChunkSize = std::size_t(16) * 1024;

    explicit LineBatchReader(int fd) : m_fd(fd) {}

    // Replaces lines with the next whole lines (the last line of the input may
    // lack its line feed). False at the end of the input, on Ctrl-C or on a
    // read error (then Error() says why).
    bool Next(QByteArray &lines);

    // Bytes handed out in batches so far.
    qint64 BytesDone() const { return m_bytesDone; }
    const QString &Error() const { return m_error; }

private:
    int m_fd;
    QByteArray m_partial; // the start of a line whose end has not been read yet
    bool m_ended = false;
    qint64 m_bytesDone = 0;
    QString m_error;
};
