#include "ComActObject.h"

#include <QStringView>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {
QString hex(std::int32_t result)
{
    return u"0x"_s + QString::number(quint32(result), 16).rightJustified(8, u'0').toUpper();
}

QString fromUtf16(const std::u16string &text)
{
    return QString::fromStdU16String(text);
}

[[noreturn]] void unsupportedArgument(const QVariant &value, const QString &member, int position)
{
    throw ActError(u"Argument %1 von „%2“ kann nicht an ACT! übergeben werden (%3)."_s.arg(
        QString::number(position), member, QString::fromLatin1(value.typeName())));
}

com::Value wholeNumber(qlonglong number, const QVariant &value, const QString &member, int position)
{
    if (number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max())
        unsupportedArgument(value, member, position);
    return std::int32_t(number);
}
} // namespace

ComActObject::ComActObject(com::ObjectPtr object) : m_object(std::move(object)) {}

QVariant ComActObject::Call(const QString &member, const QVariantList &arguments)
{
    std::vector<com::Value> values;
    values.reserve(std::size_t(arguments.size()));
    for (qsizetype i = 0; i < arguments.size(); ++i)
        values.push_back(ToComValue(arguments.at(i), member, int(i + 1)));
    try {
        return FromComValue(m_object->Call(member.toStdU16String(), values));
    } catch (const com::Error &error) {
        throw ActError(ComErrorText(error));
    }
}

com::Value ToComValue(const QVariant &value, const QString &member, int position)
{
    if (!value.isValid() || value.isNull()) {
        // A null QString is still a text: the empty one.
        if (value.typeId() == QMetaType::QString)
            return std::u16string();
        return std::monostate{};
    }
    switch (value.typeId()) {
    case QMetaType::Short:
        return std::int16_t(value.value<short>());
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return std::int16_t(value.toInt());
    case QMetaType::UShort:
    case QMetaType::Int:
        return std::int32_t(value.toInt());
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
        return wholeNumber(value.toLongLong(), value, member, position);
    case QMetaType::ULongLong:
        if (value.toULongLong() > quint64(std::numeric_limits<std::int32_t>::max()))
            unsupportedArgument(value, member, position);
        return std::int32_t(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double number = value.toDouble();
        if (!std::isfinite(number) || number != std::trunc(number) ||
            std::abs(number) > double(std::numeric_limits<std::int32_t>::max()))
            unsupportedArgument(value, member, position);
        return std::int32_t(number);
    }
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::QString:
        return value.toString().toStdU16String();
    default:
        break;
    }
    if (value.canConvert<ActObjectPtr>()) {
        const ActObjectPtr object = value.value<ActObjectPtr>();
        if (!object)
            return com::ObjectPtr();
        if (const auto *comObject = dynamic_cast<const ComActObject *>(object.get()))
            return comObject->Object();
    }
    unsupportedArgument(value, member, position);
}

QVariant FromComValue(const com::Value &value)
{
    if (const auto *number = std::get_if<std::int16_t>(&value))
        return QVariant::fromValue(short(*number));
    if (const auto *number = std::get_if<std::int32_t>(&value))
        return QVariant(int(*number));
    if (const auto *flag = std::get_if<bool>(&value))
        return QVariant(*flag);
    if (const auto *text = std::get_if<std::u16string>(&value))
        return QVariant(fromUtf16(*text));
    if (const auto *object = std::get_if<com::ObjectPtr>(&value); object && *object)
        return FromActObject(std::make_shared<ComActObject>(*object));
    return QVariant();
}

QString ComErrorText(const com::Error &error)
{
    const QString subject = fromUtf16(error.Subject());
    const QString result = hex(error.Result());
    switch (error.GetStep()) {
    case com::Error::Step::CreateObject:
        if (error.Result() == com::hresult::ClassString ||
            error.Result() == com::hresult::ClassNotRegistered)
            return u"Das ACT!-Objekt „%1“ ist nicht registriert."_s.arg(subject);
        return u"Das ACT!-Objekt „%1“ lässt sich nicht anlegen (COM-Fehler %2)."_s.arg(subject,
                                                                                       result);
    case com::Error::Step::FindMember:
        return u"ACT! kennt „%1“ nicht (COM-Fehler %2)."_s.arg(subject, result);
    case com::Error::Step::Convert:
        if (error.Argument() > 0)
            return u"Argument %1 von „%2“ kann nicht an ACT! übergeben werden (COM-Fehler %3)."_s
                .arg(QString::number(error.Argument()), subject, result);
        return u"Die Antwort von ACT! auf „%1“ ist nicht verwendbar (COM-Fehler %2)."_s.arg(subject,
                                                                                            result);
    case com::Error::Step::CallMember:
        break;
    }
    if (error.Result() == com::hresult::Exception) {
        QString text = u"ACT! meldet bei „%1“: %2"_s.arg(
            subject, error.Description().empty() ? u"(ohne Beschreibung)"_s
                                                 : fromUtf16(error.Description()));
        const QString source = fromUtf16(error.Source());
        return text + u" (%1%2)"_s.arg(source.isEmpty() ? QString() : source + u", "_s,
                                       hex(error.ServerCode()));
    }
    if (error.Result() == com::hresult::BadParamCount)
        return u"„%1“: ACT! erwartet eine andere Zahl von Argumenten (COM-Fehler %2)."_s.arg(
            subject, result);
    if (error.Argument() > 0)
        return u"„%1“: ACT! nimmt Argument %2 nicht an (COM-Fehler %3)."_s.arg(
            subject, QString::number(error.Argument()), result);
    return u"Der Aufruf „%1“ ist fehlgeschlagen (COM-Fehler %2)."_s.arg(subject, result);
}
