#pragma once

#include "clsZeile.h"

// Lines that begin with a label of the settings file become definition hits
// (DefinitionHits) and leave the line list. Nothing happens without definitions.
void ApplyUserDefinitions(LineList &lines);
