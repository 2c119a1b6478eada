#pragma once

#include "StandinObject.h"

// "ACTOLE.APPOBJECT": Views.
class StandinApplication : public StandinObject
{
public:
    explicit StandinApplication(const QString &dataFolder);
};
