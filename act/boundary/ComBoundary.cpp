#include "act/ActObject.h"

#include "act/com/ComActObject.h"

// On Windows every ProgID is ACT!'s own, reached through COM.
ActObjectPtr CreateActObject(const QString &progId)
{
    try {
        return std::make_shared<ComActObject>(com::CreateObject(progId.toStdU16String()));
    } catch (const com::Error &error) {
        throw ActError(ComErrorText(error));
    }
}
