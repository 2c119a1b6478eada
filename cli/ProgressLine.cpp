#include "ProgressLine.h"

#include "StreamIo.h"

#include "support/CheckedOutput.h"

#include <QByteArray>
#include <QString>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 QuietStartMs = 1000;
constexpr qint64 RedrawEveryMs = 200;

QString duration(qint64 seconds)
{
    return u"%1:%2"_s.arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'));
}

void writeError(const QByteArray &text)
{
    CheckedOutput::WriteAll(CheckedOutput::StandardError, text);
}

} // namespace

ProgressLine::ProgressLine(Mode mode, qint64 inputSize)
    : m_enabled(mode == Mode::Forced ||
                (mode == Mode::OnTerminal && StreamIo::IsTerminal(StreamIo::StandardError))),
      m_forced(mode == Mode::Forced), m_inputSize(inputSize)
{
    m_clock.start();
}

bool ProgressLine::due()
{
    const qint64 now = m_clock.elapsed();
    if (!m_enabled || (!m_forced && now < QuietStartMs))
        return false;
    if (m_lastDrawn >= 0 && now - m_lastDrawn < RedrawEveryMs)
        return false;
    m_lastDrawn = now;
    return true;
}

void ProgressLine::Update(qint64 blocks, qint64 bytesDone)
{
    if (!due())
        return;
    const double seconds = double(qMax(m_clock.elapsed(), qint64(1))) / 1000.0;
    QString text = u"%1 blocks, %2 blocks/s"_s.arg(blocks).arg(qint64(double(blocks) / seconds));
    if (m_inputSize > 0 && bytesDone > 0) {
        const double share = qMin(1.0, double(bytesDone) / double(m_inputSize));
        text += u", %1 %"_s.arg(int(share * 100));
        text += u", %1 left"_s.arg(duration(qint64(seconds / share - seconds)));
    }
    writeError("\r" + text.toUtf8() + "\x1b[K");
    m_shown = true;
}

void ProgressLine::Clear()
{
    if (!m_shown)
        return;
    writeError("\r\x1b[K");
    m_shown = false;
}
