#include "StandinContactTable.h"

#include "ContactDatabase.h"
#include "StandinFieldCollection.h"

StandinContactTable::StandinContactTable(const QString &dataFolder,
                                         std::shared_ptr<ContactDatabase> database)
    : StandinObject(QStringLiteral("Contact"), dataFolder), m_database(std::move(database))
{
    addMember(QStringLiteral("Fields"), 0, [this](const QVariantList &) {
        requireDatabaseOpen();
        return FromActObject(
            std::make_shared<StandinFieldCollection>(this->dataFolder(), *m_database));
    });
    addMember(QStringLiteral("FieldCount"), 0, [this](const QVariantList &) {
        requireDatabaseOpen();
        return QVariant(m_database->FieldCount());
    });
}
