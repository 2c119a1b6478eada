#pragma once

#include <QString>

// The program's own folder: the environment variable ORDALIS_HOME when set,
// otherwise the executable's folder. The update program is looked for here.
// No trailing separator.
QString ProgramFolder();

// What decides where the settings file and the log live.
struct SettingsFolderFacts
{
    QString OrdalisHome;   // ORDALIS_HOME, empty when not set
    QString ProgramFolder; // the executable's folder
    bool ProgramFolderWritable = false;
    QString ConfigHome; // XDG_CONFIG_HOME, empty when not set
    QString Home;       // the user's home folder
};

// ORDALIS_HOME when set; otherwise the program's folder when the user may write
// there and it is not part of the installed system (/usr); otherwise
// "ordalis" in the XDG config folder ($XDG_CONFIG_HOME, else ~/.config).
QString ChooseSettingsFolder(const SettingsFolderFacts &facts);

// The folder of ordalis.ini and logfile.txt, chosen as above from this
// process's environment. A per-user folder is created when missing.
QString SettingsFolder();
