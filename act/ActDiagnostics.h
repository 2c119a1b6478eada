#pragma once

#include "support/Diagnostics.h"

Q_DECLARE_LOGGING_CATEGORY(lcAct)
