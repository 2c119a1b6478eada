#include "StandinFieldCollection.h"

#include "ContactDatabase.h"
#include "LateBoundArguments.h"

using namespace Qt::StringLiterals;

StandinFieldCollection::StandinFieldCollection(const QString &dataFolder,
                                               std::shared_ptr<ContactDatabase> database)
    : StandinObject(QStringLiteral("Fields"), dataFolder), m_database(std::move(database))
{
    addMember(QStringLiteral("FieldIdAt"), 1, [this](const QVariantList &arguments) {
        const qint32 position =
            IntegerArgument(arguments[0], argumentName(u"FieldIdAt"_s, 0, u"Position"_s));
        requireDatabaseOpen();
        return QVariant(m_database->FieldIdAt(position));
    });
    addMember(QStringLiteral("Label"), 1, [this](const QVariantList &arguments) {
        const qint32 number =
            IntegerArgument(arguments[0], argumentName(u"Label"_s, 0, u"Feldnummer"_s));
        requireDatabaseOpen();
        return QVariant(m_database->Label(number));
    });
}
