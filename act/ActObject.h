#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <stdexcept>

// The one error of the ACT! boundary: unknown ProgID or member, wrong
// arguments, ACT! not running, or a failure inside ACT!.
class ActError : public std::runtime_error
{
public:
    explicit ActError(const QString &reason)
        : std::runtime_error(reason.toStdString()), m_reason(reason)
    {}
    QString reason() const { return m_reason; }

private:
    QString m_reason;
};

// An ACT! automation object, called late-bound: members are found by name when
// the call is made. Objects that members return come back as a QVariant holding
// an ActObjectPtr.
class ActObject
{
public:
    virtual ~ActObject() = default;
    virtual QVariant Call(const QString &member, const QVariantList &arguments = {}) = 0;
};

using ActObjectPtr = std::shared_ptr<ActObject>;
Q_DECLARE_METATYPE(ActObjectPtr)

// The object a member returned; throws ActError when the value is no object.
inline ActObjectPtr ToActObject(const QVariant &value)
{
    if (value.canConvert<ActObjectPtr>()) {
        if (ActObjectPtr object = value.value<ActObjectPtr>())
            return object;
    }
    throw ActError(QStringLiteral("Das Ergebnis ist kein ACT!-Objekt."));
}

inline QVariant FromActObject(const ActObjectPtr &object)
{
    return QVariant::fromValue(object);
}

// ProgIDs of the objects the system creates.
namespace ActProgId {
inline const QString Database = QStringLiteral("ACTOLE.DATABASE");
inline const QString Application = QStringLiteral("ACTOLE.APPOBJECT");
inline const QString AuxCommands = QStringLiteral("ACTOLE.AUXCMDS");
inline const QString EventControl = QStringLiteral("ACTEVENTLib.ActEvent");
} // namespace ActProgId

// The one view the system asks ACT!'s view collection for.
namespace ActView {
constexpr qint32 ContactType = 1;
inline const QString ContactName = QStringLiteral("ContactView");
} // namespace ActView

// Creates an automation object by ProgID (the stand-in's on Linux); throws
// ActError for an unknown ProgID.
ActObjectPtr CreateActObject(const QString &progId);
