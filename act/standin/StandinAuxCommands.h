#pragma once

#include "StandinObject.h"

// "ACTOLE.AUXCMDS": user commands and their toolbar buttons, kept in actcmd.ini.
class StandinAuxCommands : public StandinObject
{
public:
    explicit StandinAuxCommands(const QString &dataFolder);
};
