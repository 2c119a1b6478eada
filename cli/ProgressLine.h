#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

// One line on standard error that a long run rewrites in place: blocks done,
// blocks per second, and percent and time left when the input's size is known.
// Shown on a terminal once the run has taken a second, or always when forced;
// never on standard output.
class ProgressLine
{
public:
    enum class Mode { OnTerminal, Forced, Off };

    // inputSize: bytes, or -1 when unknown (a pipe).
    ProgressLine(Mode mode, qint64 inputSize);

    // Redraws at most a few times a second.
    void Update(qint64 blocks, qint64 bytesDone);
    // Removes the line, so what follows starts on a clean line.
    void Clear();

private:
    bool due();

    bool m_enabled;
    bool m_forced;
    qint64 m_inputSize;
    QElapsedTimer m_clock;
    qint64 m_lastDrawn = -1; // ms since the start
    bool m_shown = false;
};
