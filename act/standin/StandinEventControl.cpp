#include "StandinEventControl.h"

#include "StandinPaths.h"
#include "StandinRunLock.h"

StandinEventControl::StandinEventControl(const QString &dataFolder)
    : StandinObject(ActProgId::EventControl, dataFolder)
{
    addMember(
        QStringLiteral("IsActRunning"), 0,
        [this](const QVariantList &) {
            return QVariant(StandinRunLock::IsHeld(RunLockPath(this->dataFolder())));
        },
        Needs::Nothing);
}
