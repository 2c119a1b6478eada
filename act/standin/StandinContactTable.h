#pragma once

#include "StandinObject.h"

class ContactDatabase;

// The database's contact table: Fields, FieldCount.
class StandinContactTable : public StandinObject
{
public:
    StandinContactTable(const QString &dataFolder, std::shared_ptr<ContactDatabase> database);

private:
    std::shared_ptr<ContactDatabase> m_database;
};
