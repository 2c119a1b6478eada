#include "StandinViewCollection.h"

#include "ContactDatabase.h"
#include "LateBoundArguments.h"
#include "StandinContactView.h"
#include "StandinPaths.h"

using namespace Qt::StringLiterals;

StandinViewCollection::StandinViewCollection(const QString &dataFolder)
    : StandinObject(QStringLiteral("Views"), dataFolder)
{
    addMember(QStringLiteral("Create"), 2, [this](const QVariantList &arguments) {
        const qint32 type =
            IntegerArgument(arguments[0], argumentName(u"Create"_s, 0, u"Ansichtstyp"_s));
        const QString name =
            TextArgument(arguments[1], argumentName(u"Create"_s, 1, u"Ansichtsname"_s));
        if (type != ActView::ContactType ||
            name.compare(ActView::ContactName, Qt::CaseInsensitive) != 0)
            throw ActError(
                QStringLiteral("ACT! kennt die Ansicht %1, „%2“ nicht.").arg(type).arg(name));
        requireDatabaseOpen();
        std::shared_ptr<ContactDatabase> database = ContactDatabase::Open(
            ContactDatabasePath(this->dataFolder()), ContactDatabase::DefaultBusyTimeoutMs,
            ContactDatabase::Check::DoneByRunningStandin);
        return FromActObject(
            std::make_shared<StandinContactView>(this->dataFolder(), std::move(database)));
    });
}
