#pragma once

#include <QString>

// The update program beside the main program: "update.exe" on Windows,
// "update" elsewhere.
QString UpdateProgramPath();

// The online-update command: asks, looks for the update program, starts it with
// the two arguments "" and "small". True when it was started, so the caller
// ends the program; every other outcome has been shown to the user.
bool RunOnlineUpdate();
