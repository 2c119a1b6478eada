#pragma once

#include "act/ActHost.h"

// The front end of one block after another: its text is the block's. The
// completion step answers "back", so the program never ends from inside a write.
class BlockHost : public ActHost
{
public:
    void SetBusyPointer(bool) override {}
    void SetTopMost(bool) override {}
    QString CapturedText() const override { return text; }
    void CaptureClipboard() override {}
    quint8 ShowCompletionDialog(bool) override { return CompletionChoiceBack; }
    void EndProgram() override {}

    QString text;
};
