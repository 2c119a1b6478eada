#pragma once

#include "CapturedLine.h"

// The per-line scoring loop: fixed labels, then the classification of each line
// by position, form and keywords. A line starting with a postcode is cut, and its
// city follows it as a new line; the returned list holds those lines too.
LineList ScoreLines(LineList lines);
