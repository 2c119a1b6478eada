#include "StandinObject.h"

#include "StandinPaths.h"
#include "StandinRunLock.h"

#include <QThread>

#include <algorithm>

namespace {

// ACT!'s automation answers from another process, each call a round trip; set,
// the stand-in's calls take that long too, so slow databases can be tried.
unsigned long callDelayMicroseconds()
{
    bool ok = false;
    const int delay = qEnvironmentVariableIntValue("ACT_STANDIN_CALL_DELAY_US", &ok);
    return ok && delay > 0 ? static_cast<unsigned long>(std::min(delay, 1'000'000)) : 0UL;
}

} // namespace

StandinObject::StandinObject(QString objectName, QString dataFolder)
    : m_objectName(std::move(objectName)), m_dataFolder(std::move(dataFolder))
{}

void StandinObject::addMember(const QString &name, int argumentCount, Handler handler, Needs needs)
{
    m_members.insert(name.toUpper(), {name, argumentCount, std::move(handler), needs});
}

QVariant StandinObject::Call(const QString &member, const QVariantList &arguments)
{
    const auto found = m_members.constFind(member.toUpper());
    if (found == m_members.constEnd())
        throw ActError(
            QStringLiteral("Das Objekt %1 hat kein Element „%2“.").arg(m_objectName, member));
    if (arguments.size() != found->argumentCount)
        throw ActError(QStringLiteral("„%1“ erwartet %2 Argument(e), erhielt %3.")
                           .arg(found->name)
                           .arg(found->argumentCount)
                           .arg(arguments.size()));
    if (const unsigned long delay = callDelayMicroseconds())
        QThread::usleep(delay);
    if (found->needs == Needs::Running) {
        const StandinRunLock::Probe probe = StandinRunLock::Look(RunLockPath(m_dataFolder));
        if (!probe.running)
            throw ActError(QStringLiteral("ACT! läuft nicht."));
        m_databaseOpen = probe.databaseOpen;
    }
    try {
        return found->handler(arguments);
    } catch (const ActError &) {
        throw;
    } catch (const std::exception &error) {
        // Nothing but ActError leaves the boundary.
        throw ActError(QStringLiteral("„%1“ ist fehlgeschlagen: %2")
                           .arg(found->name, QString::fromLocal8Bit(error.what())));
    }
}

void StandinObject::requireDatabaseOpen() const
{
    if (!m_databaseOpen)
        throw ActError(QStringLiteral("In ACT! ist keine Datenbank geöffnet."));
}

QString StandinObject::argumentName(const QString &member, int index, const QString &meaning)
{
    return QStringLiteral("Argument %1 von „%2“ (%3)").arg(index + 1).arg(member, meaning);
}
