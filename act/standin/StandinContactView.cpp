#include "StandinContactView.h"

#include "LateBoundArguments.h"

using namespace Qt::StringLiterals;

StandinContactView::StandinContactView(const QString &dataFolder,
                                       std::shared_ptr<ContactDatabase> database)
    : StandinObject(ActView::ContactName, dataFolder), m_database(std::move(database))
{
    addMember(QStringLiteral("AddNewContact"), 0, [this](const QVariantList &) {
        requireDatabaseOpen();
        m_added = m_database->AddNewContact();
        return QVariant();
    });
    addMember(QStringLiteral("SetField"), 2, [this](const QVariantList &arguments) {
        const qint32 number =
            IntegerArgument(arguments[0], argumentName(u"SetField"_s, 0, u"Feldnummer"_s));
        const QString value = TextArgument(arguments[1], argumentName(u"SetField"_s, 1, u"Wert"_s));
        requireDatabaseOpen();
        m_database->SetField(m_added, number, value);
        return QVariant();
    });
}
