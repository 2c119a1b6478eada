#pragma once

#include "StandinObject.h"

class ContactDatabase;

// The contact table's fields: FieldIdAt(position), Label(field number).
class StandinFieldCollection : public StandinObject
{
public:
    StandinFieldCollection(const QString &dataFolder, std::shared_ptr<ContactDatabase> database);

private:
    std::shared_ptr<ContactDatabase> m_database;
};
