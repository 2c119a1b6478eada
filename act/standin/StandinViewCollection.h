#pragma once

#include "StandinObject.h"

// The application's views: Create(1, "ContactView") gives a contact view.
class StandinViewCollection : public StandinObject
{
public:
    explicit StandinViewCollection(const QString &dataFolder);
};
