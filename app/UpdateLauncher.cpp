#include "UpdateLauncher.h"

#include "WindowMessages.h"

#include "support/FileTools.h"
#include "support/MessageTexts.h"
#include "support/ProgramFolder.h"

#include <QProcess>

QString UpdateProgramPath()
{
#ifdef Q_OS_WIN
    return ProgramFolder() + QStringLiteral("/update.exe");
#else
    return ProgramFolder() + QStringLiteral("/update");
#endif
}

bool RunOnlineUpdate()
{
    if (ShowMessage(MessageText::UpdateQuestion, MessageStyle::YesNoQuestion) != MessageAnswer::Yes)
        return false;
    const QString program = UpdateProgramPath();
    if (!FileExists(program)) {
        ShowMessage(MessageText::UpdateNotFound, MessageStyle::Exclamation);
        return false;
    }
    // A path and an argument list, never a command line: a folder with blanks
    // cannot start anything else, and the empty first argument arrives as such.
    if (!QProcess::startDetached(program, {QString(), QStringLiteral("small")})) {
        ShowMessage(MessageText::UpdateNotStarted, MessageStyle::Exclamation);
        return false;
    }
    return true;
}
