#include "act/ActObject.h"

#include "act/standin/StandinFactory.h"

// On Linux every ProgID is served by the stand-in; on Windows ComBoundary.cpp
// beside this file takes its place.
ActObjectPtr CreateActObject(const QString &progId)
{
    if (ActObjectPtr object = CreateStandinObject(progId))
        return object;
    throw ActError(QStringLiteral("Das ACT!-Objekt „%1“ ist nicht registriert.").arg(progId));
}
