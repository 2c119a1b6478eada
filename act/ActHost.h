#pragma once

#include <QString>
#include <QtGlobal>

// The completion dialog's answer: 0 none (closed otherwise), 1 quit, 2 back to
// the program.
constexpr quint8 CompletionChoiceNone = 0;
constexpr quint8 CompletionChoiceQuit = 1;
constexpr quint8 CompletionChoiceBack = 2;

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
    // The completion dialog after a write that created (LastWriteWasNew) or
    // edited a contact; returns the CompletionChoice.
    virtual quint8 ShowCompletionDialog(bool LastWriteWasNew) = 0;
    // The user chose to quit in the completion dialog.
    virtual void EndProgram() = 0;
};
