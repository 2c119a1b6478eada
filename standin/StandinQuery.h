#pragma once

#include <QString>

// The read-only queries "contacts", "fields" and "commands" on a data folder,
// as text or JSON; they work whether the stand-in runs or not. Returns the
// exit code; the answer goes to `output`, a failure to `error`.
int RunStandinQuery(const QString &query, bool json, const QString &folder, QString &output,
                    QString &error);
