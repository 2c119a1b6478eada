#pragma once

#include "clsZusatzDefs.h"

#include <QList>
#include <QString>

class FieldRows;

// Program-wide settings, set once by LoadSettings.
extern QList<clsZusatzDefs> UserDefinitions;
extern bool DefinitionsLoaded;
extern QString StandardLand4PLZ;
extern QString StandardLand5PLZ;

// The settings file: "ordalis.ini" in the settings folder, unless a caller
// (the CLI's --settings, tests) names another one.
QString SettingsFilePath();
void SetSettingsFilePath(const QString &path); // empty: back to the settings folder's file

// Reads definitions, the field cache (which may replace the rows' catalogue)
// and the default countries. Resets the program-wide values first.
void LoadSettings(FieldRows &rows);
// Writes row 0's catalogue as the field cache when the cache is switched on.
void SaveFieldCache(const FieldRows &rows);
void AddUserDefinition(qint16 number, const QString &label);
