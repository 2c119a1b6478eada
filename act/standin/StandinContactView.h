#pragma once

#include "ContactDatabase.h"
#include "StandinObject.h"

#include <optional>

// A contact view: AddNewContact, SetField(field number, text). Its current
// contact is the one the stand-in shows; after AddNewContact it is the new
// contact, until a user picks another one in the stand-in, so two programs
// adding contacts at once each fill their own.
class StandinContactView : public StandinObject
{
public:
    StandinContactView(const QString &dataFolder, std::shared_ptr<ContactDatabase> database);

private:
    std::shared_ptr<ContactDatabase> m_database;
    std::optional<ShownContact> m_added;
};
