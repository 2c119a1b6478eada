#include "ActResults.h"

#include "act/ActObject.h"

#include <QLocale>

#include <cmath>
#include <limits>
#include <optional>

namespace {
std::optional<double> numberOf(const QVariant &value)
{
    bool ok = false;
    double number = 0;
    if (value.typeId() == QMetaType::QString)
        number = QLocale().toDouble(value.toString().trimmed(), &ok);
    else if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1.0 : 0.0; // a true variant is -1
    else
        number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

[[noreturn]] void notUsable(const QVariant &value)
{
    throw ActError(QStringLiteral("Unbrauchbare Antwort von ACT!: „%1“").arg(value.toString()));
}
} // namespace

qint32 ActResultToLong(const QVariant &result)
{
    if (!result.isValid() || result.isNull())
        return 0;
    if (result.typeId() == QMetaType::QString && result.toString().trimmed().isEmpty())
        return 0;
    const std::optional<double> number = numberOf(result);
    if (!number)
        notUsable(result);
    const double rounded = std::nearbyint(*number); // half to even
    if (rounded < std::numeric_limits<qint32>::min() ||
        rounded > std::numeric_limits<qint32>::max())
        notUsable(result);
    return static_cast<qint32>(rounded);
}

bool ActResultIsTrue(const QVariant &result)
{
    if (!result.isValid() || result.isNull())
        return false;
    if (result.typeId() == QMetaType::QString) {
        const QString text = result.toString().trimmed();
        if (text.compare(u"true", Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(u"false", Qt::CaseInsensitive) == 0)
            return false;
    }
    const std::optional<double> number = numberOf(result);
    if (!number)
        notUsable(result);
    return *number != 0.0;
}
