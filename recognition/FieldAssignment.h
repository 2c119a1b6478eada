#pragma once

#include "clsZeile.h"

class FieldRows;

// Gives line i the field of its highest score and writes it to row i-1; adds
// the default country row when no line was a country.
void AssignFields(LineList &lines, FieldRows &rows);
