#include "Diagnostics.h"

#include <exception>

Q_LOGGING_CATEGORY(lcSettings, "ordalis.settings", QtCriticalMsg)

QString CaughtFailureReason()
{
    try {
        throw;
    } catch (const std::exception &error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("unknown failure");
    }
}
