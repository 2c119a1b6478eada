#include "LineBatchReader.h"

#include <cerrno>
#include <cstring>

bool LineBatchReader::Next(QByteArray &lines)
{
    m_oversize = false;
    // The carried-over start of a line holds no line feed (except after an
    // oversize line, when the rest of its chunk may); only new bytes are searched.
    // Truncated, not cleared, so both buffers keep their room from batch to batch.
    lines.swap(m_partial);
    m_partial.truncate(0);
    if (const qsizetype carriedFeed = lines.lastIndexOf('\n'); carriedFeed >= 0)
        return handOut(lines, carriedFeed + 1);
    while (!m_ended) {
        const qsizetype had = lines.size();
        StreamIo::ReadEnd end = StreamIo::ReadEnd::Data;
        readChunk(lines, end);
        const QByteArrayView fresh = QByteArrayView(lines).sliced(had);
        const qsizetype firstFeed = fresh.indexOf('\n');
        const qsizetype lineLength = firstFeed >= 0 ? had + firstFeed : lines.size();
        if (lineLength > m_maxLineBytes) {
            m_oversize = true;
            m_bytesDone += lineLength;
            if (firstFeed >= 0) {
                m_partial.append(fresh.sliced(firstFeed + 1));
                ++m_bytesDone;
            }
            lines.truncate(0);
            return firstFeed >= 0 || end != StreamIo::ReadEnd::Data || skipRestOfLine(lines);
        }
        if (firstFeed >= 0)
            return handOut(lines, had + fresh.lastIndexOf('\n') + 1);
        if (end == StreamIo::ReadEnd::Data)
            continue;
        m_ended = true;
        if (end != StreamIo::ReadEnd::EndOfInput)
            return false; // an unfinished line is no answer to give
    }
    m_bytesDone += lines.size();
    return !lines.isEmpty();
}

// Appends one read to into; end says how the read ended. False when it gave nothing.
bool LineBatchReader::readChunk(QByteArray &into, StreamIo::ReadEnd &end)
{
    const qsizetype had = into.size();
    // A QByteArray grows without filling the new room and, for a long line,
    // in place: neither zeroes nor copies what a million-line block reads.
    into.resize(had + qsizetype(ChunkSize));
    std::size_t count = 0;
    end = StreamIo::ReadSome(m_fd, into.data() + had, ChunkSize, count);
    if (end == StreamIo::ReadEnd::Failed)
        m_error = QString::fromLocal8Bit(std::strerror(errno));
    into.truncate(had + qsizetype(count));
    if (end != StreamIo::ReadEnd::Data)
        m_ended = true;
    return count > 0;
}

// Reads on to the end of an oversize line, keeping none of it; what follows
// its line feed is the next batch's start. False on Ctrl-C or a read error.
bool LineBatchReader::skipRestOfLine(QByteArray &scratch)
{
    while (!m_ended) {
        StreamIo::ReadEnd end = StreamIo::ReadEnd::Data;
        scratch.truncate(0);
        readChunk(scratch, end);
        const qsizetype feed = scratch.indexOf('\n');
        if (feed >= 0) {
            m_partial.append(QByteArrayView(scratch).sliced(feed + 1));
            m_bytesDone += feed + 1;
            scratch.truncate(0);
            return true;
        }
        m_bytesDone += scratch.size();
        if (end != StreamIo::ReadEnd::Data && end != StreamIo::ReadEnd::EndOfInput) {
            scratch.truncate(0);
            return false;
        }
    }
    scratch.truncate(0);
    return true;
}

// Hands out lines up to cut; the rest waits for the next batch.
bool LineBatchReader::handOut(QByteArray &lines, qsizetype cut)
{
    m_partial.append(QByteArrayView(lines).sliced(cut));
    lines.truncate(cut);
    m_bytesDone += cut;
    return true;
}
