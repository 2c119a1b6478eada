#pragma once

#include "ActObject.h"

class ActHost;
class FieldRows;

// The ACT! objects the program holds between commands.
extern ActObjectPtr ActDatabase;
extern ActObjectPtr ActApp;
extern ActObjectPtr ActViews;
extern ActObjectPtr ActContactView;

// True when ACT! runs and its database is open.
bool ConnectDatabase(ActHost &host);
// The field load ("Felder aus ACT! DB laden"): replaces the catalogue of all rows
// with the open database's fields. True when the list was loaded.
bool LoadFieldList(FieldRows &rows, ActHost &host);
// Drops every held object (shut-down, and after a failed command).
void ReleaseActObjects();
