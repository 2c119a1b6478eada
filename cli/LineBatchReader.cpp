#include "LineBatchReader.h"

#include <cerrno>
#include <cstring>

bool LineBatchReader::Next(QByteArray &lines)
{
    // The carried-over start of a line holds no line feed; only new bytes are searched.
    // Truncated, not cleared, so both buffers keep their room from batch to batch.
    lines.swap(m_partial);
    m_partial.truncate(0);
    while (!m_ended) {
        const qsizetype had = lines.size();
        // A QByteArray grows without filling the new room and, for a long line,
        // in place: neither zeroes nor copies what a million-line block reads.
        lines.resize(had + qsizetype(ChunkSize));
        std::size_t count = 0;
        const StreamIo::ReadEnd end =
            StreamIo::ReadSome(m_fd, lines.data() + had, ChunkSize, count);
        lines.truncate(had + qsizetype(count));
        const qsizetype lastFeed = QByteArrayView(lines).sliced(had).lastIndexOf('\n');
        if (lastFeed >= 0) {
            const qsizetype cut = had + lastFeed + 1;
            m_partial.append(QByteArrayView(lines).sliced(cut));
            lines.truncate(cut);
            m_bytesDone += cut;
            return true;
        }
        if (end == StreamIo::ReadEnd::Data)
            continue;
        m_ended = true;
        if (end == StreamIo::ReadEnd::Failed)
            m_error = QString::fromLocal8Bit(std::strerror(errno));
        if (end != StreamIo::ReadEnd::EndOfInput)
            return false; // an unfinished line is no answer to give
    }
    m_bytesDone += lines.size();
    return !lines.isEmpty();
}
