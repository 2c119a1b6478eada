#pragma once

#include "act/ActObject.h"

// The stand-in's object for a ProgID (without regard to case), or null for a
// ProgID it does not have. Objects work on the data folder of the moment they
// are created. Throws ActError when the stand-in was never installed here (no
// data folder), except for the event control, which then reports "not running".
ActObjectPtr CreateStandinObject(const QString &progId);
