#include "RecognitionDiagnostics.h"

Q_LOGGING_CATEGORY(lcRecognition, "ordalis.recognition", QtCriticalMsg)
