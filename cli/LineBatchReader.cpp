#include "LineBatchReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

bool LineBatchReader::Next(std::string &lines)
{
    // The carried-over start of a line holds no line feed; only new bytes are searched.
    lines.swap(m_partial);
    m_partial.clear();
    while (!m_ended) {
        const std::size_t had = lines.size();
        lines.resize(had + ChunkSize);
        std::size_t count = 0;
        const StreamIo::ReadEnd end =
            StreamIo::ReadSome(m_fd, lines.data() + had, ChunkSize, count);
        lines.resize(had + count);
        const auto newBytes = lines.rbegin() + std::ptrdiff_t(count);
        const auto lastFeed = std::find(lines.rbegin(), newBytes, '\n');
        if (lastFeed != newBytes) {
            const std::size_t cut = std::size_t(lines.rend() - lastFeed);
            m_partial.assign(lines, cut);
            lines.resize(cut);
            m_bytesDone += qint64(cut);
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
    m_bytesDone += qint64(lines.size());
    return !lines.empty();
}
