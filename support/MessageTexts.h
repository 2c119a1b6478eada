#pragma once

#include <QString>

// Every text the system shows in a message box, exactly as users know it.
namespace MessageText {
inline const QString ClipboardEmpty = QStringLiteral("Die Zwischenablage ist leer.");
inline const QString NoSeparator = QStringLiteral(
    "Kein geeignetes Zeilentrennungszeichen gefunden. Zwischenablage konnte nicht verarbeitet "
    "werden.");
inline const QString MarkOneCharacter =
    QStringLiteral("Sie müssen vorher 1 Zeichen im unteren Fenster mit der Maus markieren.");
inline const QString NoData = QStringLiteral("Keine Daten vorhanden.");
inline const QString FieldLoadFailed = QStringLiteral(
    "Die Felder konnten nicht aus der Datenbank gelesen werden. Möglicherweise ist ACT! "
    "geschlossen.");
inline const QString ContactNotCreated = QStringLiteral("Kontakt konnte nicht angelegt werden.");
inline const QString ContactNotEdited = QStringLiteral("Kontakt konnte nicht bearbeitet werden.");
inline const QString UpdateQuestion = QStringLiteral(
    "Nach dem Start des Online-Update Programms wird der Ordalis geschlossen. Trotzdem weiter?");
// Names the update program the build looks for: there is no "Update.exe" on Linux.
#ifdef Q_OS_WIN
inline const QString UpdateNotFound = QStringLiteral("Update.exe nicht gefunden.");
#else
inline const QString UpdateNotFound = QStringLiteral("update nicht gefunden.");
#endif
inline const QString UpdateNotStarted =
    QStringLiteral("Konnte Online-Update Programm nicht öffnen.");
// Wayland hands the clipboard only to the program that has the focus.
inline const QString ClipboardNeedsFocus = QStringLiteral(
    "Ordalis darf die Zwischenablage erst lesen, wenn sein Fenster aktiv ist. Klicken Sie in das "
    "Ordalis-Fenster, dann wird die Adresse geholt.");
} // namespace MessageText
