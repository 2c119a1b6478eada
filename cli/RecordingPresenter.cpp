#include "RecordingPresenter.h"

qint16 RecordingPresenter::Present(const QString &title, const QString &text, qint16 style)
{
    m_shown = true;
    m_lastText = text;
    return StderrPresenter::Present(title, text, style);
}
