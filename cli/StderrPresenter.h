#pragma once

#include "support/Messages.h"

// Without a window the system's messages go to standard error, one per line,
// in their German text; every message is answered with OK (No to a question).
class StderrPresenter : public MessagePresenter
{
public:
    qint16 Present(const QString &title, const QString &text, qint16 style) override;
};
