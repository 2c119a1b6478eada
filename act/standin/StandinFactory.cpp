#include "StandinFactory.h"

#include "StandinApplication.h"
#include "StandinAuxCommands.h"
#include "StandinDatabase.h"
#include "StandinEventControl.h"
#include "StandinPaths.h"

#include <QFileInfo>

ActObjectPtr CreateStandinObject(const QString &progId)
{
    const auto is = [&](const QString &known) {
        return progId.compare(known, Qt::CaseInsensitive) == 0;
    };
    const QString folder = StandinDataFolder();
    if (is(ActProgId::EventControl))
        return std::make_shared<StandinEventControl>(folder);
    if (!is(ActProgId::Database) && !is(ActProgId::Application) && !is(ActProgId::AuxCommands))
        return nullptr;
    if (!QFileInfo(folder).isDir())
        throw ActError(QStringLiteral("ACT! ist nicht installiert (kein Ordner %1).").arg(folder));
    if (is(ActProgId::Database))
        return std::make_shared<StandinDatabase>(folder);
    if (is(ActProgId::Application))
        return std::make_shared<StandinApplication>(folder);
    return std::make_shared<StandinAuxCommands>(folder);
}
