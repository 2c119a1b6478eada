#pragma once

#include "CapturedLine.h"

class FieldRows;
struct Settings;

// Gives line i the field of its highest score and writes it to row i-1; adds
// the default country row (from the settings) when no line was a country.
void AssignFields(LineList &lines, FieldRows &rows, const Settings &settings);
