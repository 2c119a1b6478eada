#pragma once

#include "StandinObject.h"

// "ACTEVENTLib.ActEvent": IsActRunning, true only while the stand-in runs.
class StandinEventControl : public StandinObject
{
public:
    explicit StandinEventControl(const QString &dataFolder);
};
