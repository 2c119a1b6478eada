#pragma once

#include "StandinObject.h"

class ContactDatabase;

// "ACTOLE.DATABASE": OpenEx, IsOpen, Contact.
class StandinDatabase : public StandinObject
{
public:
    explicit StandinDatabase(const QString &dataFolder);

private:
    QVariant openEx(const QString &name);
    bool isOpen() const;

    std::shared_ptr<ContactDatabase> m_database;
};
