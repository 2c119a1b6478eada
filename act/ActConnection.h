#pragma once

#include "ActObject.h"

#include "support/Outcome.h"

#include <functional>

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
// How far work in steps is: `done` of `total`; done == total when the steps end,
// also when they end early.
using StepProgress = std::function<void(int done, int total)>;

// The field load ("Felder aus ACT! DB laden"): replaces the catalogue of all rows
// with the open database's fields and saves it as the settings' field cache.
// Done when the list was loaded. `progress` hears of each field read.
Outcome LoadFieldList(FieldRows &rows, const Settings &settings, ActConnection &act, ActHost &host,
                      const StepProgress &progress = {});
