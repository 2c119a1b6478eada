#include "ActDiagnostics.h"

Q_LOGGING_CATEGORY(lcAct, "ordalis.act", QtCriticalMsg)
