#pragma once

#include "clsZusatzDefs.h"

#include <QList>
#include <QString>

class FieldRows;

// What the settings file says, as LoadSettings read it; a missing file gives
// these defaults.
struct Settings
{
    QList<clsZusatzDefs> UserDefinitions;
    bool DefinitionsLoaded = false;
    QString StandardLand4PLZ = QStringLiteral("Österreich");
    QString StandardLand5PLZ = QStringLiteral("Deutschland");
};

// The settings file: "ordalis.ini" in the settings folder, unless a caller
// (the CLI's --settings, tests) names another one.
QString SettingsFilePath();
void SetSettingsFilePath(const QString &path); // empty: back to the settings folder's file

// Reads definitions, the field cache (which may replace the rows' catalogue)
// and the default countries.
Settings LoadSettings(FieldRows &rows);
// Writes row 0's catalogue as the field cache when the cache is switched on.
void SaveFieldCache(const FieldRows &rows);
