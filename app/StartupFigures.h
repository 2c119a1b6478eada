#pragma once

#include <QString>
#include <QtGlobal>

// Figures for `ordalis --measure-startup`.

// Milliseconds since the kernel started this process (10 ms resolution); -1
// when the system does not tell.
qint64 MillisecondsSinceProcessStart();
// Resident memory of this process in kilobytes; -1 when unknown.
qint64 ResidentKilobytes();
// One line: "startup_ms=<n> rss_kb=<n>".
QString StartupFiguresLine();
