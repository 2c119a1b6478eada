#pragma once

#include "StandinObject.h"

#include <QHash>
#include <QVector>

class ContactDatabase;

// The contact table's fields: FieldIdAt(position), Label(field number). The list
// is read once when the collection is handed out, as a program walks it field by
// field right afterwards; each call still fails once the stand-in has stopped.
class StandinFieldCollection : public StandinObject
{
public:
    StandinFieldCollection(const QString &dataFolder, ContactDatabase &database);

private:
    QVector<qint32> m_numbers;       // by position
    QHash<qint32, QString> m_labels; // by field number (numbers are unique)
};
