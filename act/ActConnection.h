#pragma once

#include "ActObject.h"

class ActHost;
class FieldRows;
struct Settings;

// The ACT! objects one window or CLI run holds between commands; dropped on
// destruction.
class ActConnection
{
public:
    ActConnection() = default;
    ~ActConnection() { ReleaseActObjects(); }
    ActConnection(const ActConnection &) = delete;
    ActConnection &operator=(const ActConnection &) = delete;

    // Drops every held object (shut-down, and after a failed command).
    void ReleaseActObjects();

    ActObjectPtr ActDatabase;
    ActObjectPtr ActApp;
    ActObjectPtr ActViews;
    ActObjectPtr ActContactView;
};

// True when ACT! runs and its database is open.
bool ConnectDatabase(ActConnection &act, ActHost &host);
// The field load ("Felder aus ACT! DB laden"): replaces the catalogue of all rows
// with the open database's fields and saves it as the settings' field cache.
// True when the list was loaded.
bool LoadFieldList(FieldRows &rows, const Settings &settings, ActConnection &act, ActHost &host);
