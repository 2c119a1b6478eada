#pragma once

class QCoreApplication;

// German for the program's own and Qt's standard texts ("Ja", "Nein",
// "Abbrechen"): German locale and Qt's German translation. False when Qt's
// translation file could not be loaded (the buttons then stay English).
bool InstallGermanTranslations(QCoreApplication &application);
