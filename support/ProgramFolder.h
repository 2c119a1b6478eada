#pragma once

#include <QString>

// The folder the program keeps its files in (settings, log): the environment
// variable ORDALIS_HOME when set, otherwise the executable's folder. No
// trailing separator.
QString ProgramFolder();
