#pragma once

#include <QString>

// Where the stand-in keeps its files. Every program that talks to the stand-in
// finds them the same way, so they agree without talking to each other.

// ACT_STANDIN_HOME when set, else "act-standin" under the XDG data folder;
// never with a trailing separator.
QString StandinDataFolder();

QString ContactDatabasePath(const QString &folder = StandinDataFolder());
QString CommandFilePath(const QString &folder = StandinDataFolder());
// Held by the running stand-in; "ACT! is running" means exactly that.
QString RunLockPath(const QString &folder = StandinDataFolder());
