#pragma once

#include "StderrPresenter.h"

// Messages go to standard error as ever; the last one is kept for the JSON
// outcome of a command.
class RecordingPresenter : public StderrPresenter
{
public:
    qint16 Present(const QString &title, const QString &text, qint16 style) override;

    bool Shown() const { return m_shown; }
    QString LastText() const { return m_lastText; }

private:
    bool m_shown = false;
    QString m_lastText;
};
