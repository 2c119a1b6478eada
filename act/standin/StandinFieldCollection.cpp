#include "StandinFieldCollection.h"

#include "ContactDatabase.h"
#include "LateBoundArguments.h"

using namespace Qt::StringLiterals;

StandinFieldCollection::StandinFieldCollection(const QString &dataFolder, ContactDatabase &database)
    : StandinObject(QStringLiteral("Fields"), dataFolder)
{
    const QVector<StandinField> fields = database.Fields();
    m_numbers.reserve(fields.size());
    m_labels.reserve(fields.size());
    for (const StandinField &field : fields) {
        m_numbers.append(field.number);
        m_labels.insert(field.number, field.label);
    }

    addMember(QStringLiteral("FieldIdAt"), 1, [this](const QVariantList &arguments) {
        const qint32 position =
            IntegerArgument(arguments[0], argumentName(u"FieldIdAt"_s, 0, u"Position"_s));
        requireDatabaseOpen();
        if (position < 0 || position >= m_numbers.size())
            throw ActError(
                QStringLiteral("Keine Feldposition %1 in der ACT!-Datenbank.").arg(position));
        return QVariant(m_numbers.at(position));
    });
    addMember(QStringLiteral("Label"), 1, [this](const QVariantList &arguments) {
        const qint32 number =
            IntegerArgument(arguments[0], argumentName(u"Label"_s, 0, u"Feldnummer"_s));
        requireDatabaseOpen();
        const auto found = m_labels.constFind(number);
        if (found == m_labels.constEnd())
            throw ActError(
                QStringLiteral("Das Feld %1 gibt es in der ACT!-Datenbank nicht.").arg(number));
        return QVariant(*found);
    });
}
