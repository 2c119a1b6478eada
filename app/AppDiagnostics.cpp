#include "AppDiagnostics.h"

Q_LOGGING_CATEGORY(lcApp, "ordalis.app", QtCriticalMsg)
