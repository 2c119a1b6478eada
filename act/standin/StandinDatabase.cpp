#include "StandinDatabase.h"

#include "ContactDatabase.h"
#include "LateBoundArguments.h"
#include "StandinContactTable.h"
#include "StandinPaths.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

StandinDatabase::StandinDatabase(const QString &dataFolder)
    : StandinObject(ActProgId::Database, dataFolder)
{
    addMember(QStringLiteral("OpenEx"), 1, [this](const QVariantList &arguments) {
        return openEx(TextArgument(arguments[0], argumentName(u"OpenEx"_s, 0, u"Datenbank"_s)));
    });
    addMember(QStringLiteral("IsOpen"), 0,
              [this](const QVariantList &) { return QVariant(isOpen()); });
    addMember(QStringLiteral("Contact"), 0, [this](const QVariantList &) {
        if (!isOpen())
            throw ActError(QStringLiteral("Die ACT!-Datenbank ist nicht geöffnet."));
        return FromActObject(std::make_shared<StandinContactTable>(this->dataFolder(), m_database));
    });
}

QVariant StandinDatabase::openEx(const QString &name)
{
    const QString path = ContactDatabasePath(dataFolder());
    // "" means the database ACT! has open; a name must be that one.
    if (!name.isEmpty() && QFileInfo(name).absoluteFilePath() != QFileInfo(path).absoluteFilePath())
        throw ActError(QStringLiteral("Die Datenbank „%1“ ist in ACT! nicht geöffnet.").arg(name));
    if (!databaseOpen()) {
        m_database.reset();
        return {};
    }
    m_database = ContactDatabase::Open(path, ContactDatabase::DefaultBusyTimeoutMs,
                                       ContactDatabase::Check::DoneByRunningStandin);
    return {};
}

bool StandinDatabase::isOpen() const
{
    return m_database && databaseOpen();
}
