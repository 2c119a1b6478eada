#include "LateBoundArguments.h"

#include "act/ActObject.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {

[[noreturn]] void refuse(const QString &what, const QString &expected, const QVariant &value)
{
    const QString shown = value.isValid() ? value.toString() : QStringLiteral("(leer)");
    throw ActError(QStringLiteral("%1 muss %2 sein, ist aber „%3“ (%4).")
                       .arg(what, expected, shown,
                            QString::fromLatin1(value.typeName() ? value.typeName() : "ungültig")));
}

std::optional<qint32> fromDouble(double number)
{
    if (!std::isfinite(number))
        return std::nullopt;
    // Automation rounds half to even.
    const double rounded = std::nearbyint(number);
    if (rounded < std::numeric_limits<qint32>::min() ||
        rounded > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(rounded);
}

std::optional<qint32> fromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const qlonglong whole = trimmed.toLongLong(&ok);
    if (ok) {
        if (whole < std::numeric_limits<qint32>::min() ||
            whole > std::numeric_limits<qint32>::max())
            return std::nullopt;
        return qint32(whole);
    }
    const double number = QLocale::c().toDouble(trimmed, &ok);
    if (!ok)
        return std::nullopt;
    return fromDouble(number);
}

} // namespace

qint32 IntegerArgument(const QVariant &value, const QString &what)
{
    const QString expected = QStringLiteral("eine Zahl");
    std::optional<qint32> result;
    switch (value.typeId()) {
    case QMetaType::Bool:
        // An automation true is -1.
        result = value.toBool() ? -1 : 0;
        break;
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong: {
        const qlonglong whole = value.toLongLong();
        if (whole >= std::numeric_limits<qint32>::min() &&
            whole <= std::numeric_limits<qint32>::max())
            result = qint32(whole);
        break;
    }
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong whole = value.toULongLong();
        if (whole <= qulonglong(std::numeric_limits<qint32>::max()))
            result = qint32(whole);
        break;
    }
    case QMetaType::Float:
    case QMetaType::Double:
        result = fromDouble(value.toDouble());
        break;
    case QMetaType::QString:
        result = fromText(value.toString());
        break;
    default:
        break;
    }
    if (!result)
        refuse(what, expected, value);
    return *result;
}

QString TextArgument(const QVariant &value, const QString &what)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return QString::number(value.toULongLong());
    case QMetaType::Float:
    case QMetaType::Double:
        if (std::isfinite(value.toDouble()))
            return QString::number(value.toDouble());
        break;
    default:
        break;
    }
    refuse(what, QStringLiteral("ein Text"), value);
}
