#pragma once

#include "CapturedLine.h"

#include <QStringView>

// The fixed German and English labels ("Firma:", "PLZ:" ...), tried in order on
// the upper-cased line. Each match adds its points to line and moves the start
// of the working text behind the first colon. Returns where the working text
// now starts (0 when no label matched).
qsizetype ApplyFixedLabels(QStringView upper, CapturedLine &line);
