#pragma once

// Formerly modZusatzDefs.

#include "FieldValue.h"

#include <QList>
#include <QString>

class FieldRows;

// What the settings file says, as LoadSettings read it; a missing file gives
// these defaults.
struct Settings
{
    // The file read; the field cache is saved back to it.
    QString FilePath;
    QList<FieldValue> UserDefinitions;
    bool DefinitionsLoaded = false;
    QString StandardLand4PLZ = QStringLiteral("Österreich");
    QString StandardLand5PLZ = QStringLiteral("Deutschland");
};

// The settings file: "ordalis.ini" in the settings folder.
QString SettingsFilePath();

// Reads definitions, the field cache (which may replace the rows' catalogue)
// and the default countries from the file at path (the CLI's --settings and the
// tests name another than the settings folder's).
Settings LoadSettings(FieldRows &rows, const QString &path = SettingsFilePath());
// Writes row 0's catalogue as the field cache into the settings file at path
// when the cache is switched on there.
void SaveFieldCache(const FieldRows &rows, const QString &path);
