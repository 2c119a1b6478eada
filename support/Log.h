#pragma once

#include <QString>

// Appends "date time : text" and CR LF to "logfile.txt" in the settings folder.
// A log that cannot be written throws std::runtime_error: that is the calling
// command's failure.
void AppendToLog(const QString &text);
