#include "StandinApplication.h"

#include "StandinViewCollection.h"

StandinApplication::StandinApplication(const QString &dataFolder)
    : StandinObject(ActProgId::Application, dataFolder)
{
    addMember(QStringLiteral("Views"), 0, [this](const QVariantList &) {
        return FromActObject(std::make_shared<StandinViewCollection>(this->dataFolder()));
    });
}
