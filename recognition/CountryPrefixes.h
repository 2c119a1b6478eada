#pragma once

#include "CapturedLine.h"

// "D-12345 Ort", "CH-1234 Ort", "A-1234 Ort": the first such line per country
// is cut to the postcode and a country line follows it.
void ApplyCountryPrefixes(LineList &lines);
