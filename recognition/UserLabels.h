#pragma once

#include "CapturedLine.h"

struct RecognitionContext;

// Lines that begin with a label of the settings file become the context's
// definition hits (DefinitionHits) and leave the line list. Nothing happens
// without definitions.
void ApplyUserDefinitions(LineList &lines, RecognitionContext &context);
