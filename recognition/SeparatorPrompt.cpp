#include "SeparatorPrompt.h"

SeparatorPrompt::~SeparatorPrompt() = default;
