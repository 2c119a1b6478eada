#include "InstallerDiagnostics.h"

Q_LOGGING_CATEGORY(lcInstaller, "ordalis.installer", QtCriticalMsg)
