#pragma once

#include <QString>

// What a front end adds to the ACT! commands: the window implements it with the
// hourglass, z-order, its text box and dialogs; the CLI and the tests implement it
// without a window. The ACT! logic itself never touches a widget.
class ActHost
{
public:
    virtual ~ActHost() = default;
    virtual void SetBusyPointer(bool busy) = 0;
    virtual void SetTopMost(bool onTop) = 0;
    // The captured-text box as it stands.
    virtual QString CapturedText() const = 0;
    // The clipboard capture that follows a successful field load.
    virtual void CaptureClipboard() = 0;
    // The completion dialog: sets CompletionChoice (reads LastWriteWasNew).
    virtual void ShowCompletionDialog() = 0;
    // The user chose to quit in the completion dialog.
    virtual void EndProgram() = 0;
};
