#include "ActObject.h"

#include "standin/StandinFactory.h"

// On Linux every ProgID is served by the stand-in; a COM backend would take
// its place here on Windows.
ActObjectPtr CreateActObject(const QString &progId)
{
    if (ActObjectPtr object = CreateStandinObject(progId))
        return object;
    throw ActError(QStringLiteral("Das ACT!-Objekt „%1“ ist nicht registriert.").arg(progId));
}
