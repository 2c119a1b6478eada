#pragma once

#include "StreamIo.h"

#include <QByteArray>
#include <QString>

// Cuts an input stream into batches of whole lines, one read at a time: a
// file goes in chunks of a fixed size, a terminal or a waiting pipe as soon as
// a line is there. Memory stays at one chunk and the longest line; a line
// longer than maxLineBytes is skipped unread and handed out as a batch of its
// own, marked oversize, so that it still gets its answer in input order.
class LineBatchReader
{
public:
    static constexpr std::size_t ChunkSize = std::size_t(16) * 1024;

    LineBatchReader(int fd, qint64 maxLineBytes) : m_fd(fd), m_maxLineBytes(maxLineBytes) {}

    // Replaces lines with the next whole lines (the last line of the input may
    // lack its line feed), or empties it for an oversize line. False at the end
    // of the input, on Ctrl-C or on a read error (then Error() says why).
    bool Next(QByteArray &lines);

    // The batch just handed out stands for one line longer than the bound.
    bool Oversize() const { return m_oversize; }
    // Bytes handed out in batches so far.
    qint64 BytesDone() const { return m_bytesDone; }
    const QString &Error() const { return m_error; }

private:
    bool readChunk(QByteArray &into, StreamIo::ReadEnd &end);
    bool skipRestOfLine(QByteArray &scratch);
    bool handOut(QByteArray &lines, qsizetype cut);

    int m_fd;
    qint64 m_maxLineBytes;
    QByteArray m_partial; // the start of a line whose end has not been read yet
    bool m_ended = false;
    bool m_oversize = false;
    qint64 m_bytesDone = 0;
    QString m_error;
};
