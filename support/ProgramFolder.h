#pragma once

#include <QString>

// The program's own folder: the environment variable ORDALIS_HOME when set,
// otherwise the executable's folder. The update program is looked for here.
// No trailing separator.
QString ProgramFolder();

// The uninstaller the Windows setup puts beside the program: its presence
// marks a copy installed by the setup, as opposed to one unpacked by hand.
inline constexpr char16_t WindowsUninstallerName[] = u"Deinstallieren.exe";

// What decides where the settings file and the log live.
struct SettingsFolderFacts
{
    QString OrdalisHome;   // ORDALIS_HOME, empty when not set
    QString ProgramFolder; // the executable's folder
    bool ProgramFolderWritable = false;
    QString ConfigHome; // XDG_CONFIG_HOME, empty when not set
    QString Home;       // the user's home folder
    bool Windows = false;
    bool Installed = false; // Windows: the setup's uninstaller lies beside the program
    QString AppData;        // Windows: APPDATA, empty when not set
};

// ORDALIS_HOME when set. On Linux the program's folder when the user may write
// there and it is not part of the installed system (/usr); otherwise "ordalis"
// in the XDG config folder ($XDG_CONFIG_HOME, else ~/.config). On Windows the
// program's folder when the user may write there and the setup did not install
// it; otherwise "Ordalis" in APPDATA (else the home's AppData\Roaming).
// Windows paths come back with forward slashes, as Qt writes them.
QString ChooseSettingsFolder(const SettingsFolderFacts &facts);

// The folder of ordalis.ini and logfile.txt, chosen as above from this
// process's environment. A per-user folder is created when missing; on Windows
// the example ordalis.ini beside the program is copied into it when it has none.
QString SettingsFolder();

// Copies PROGRAM/ordalis.ini to SETTINGS/ordalis.ini, writable, unless the
// latter exists or the two folders are one. True when a copy was made.
bool CopyExampleSettings(const QString &programFolder, const QString &settingsFolder);
