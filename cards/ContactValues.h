#pragma once

#include <QList>
#include <QMap>
#include <QString>

class FieldRows;

// One contact as field numbers and their values; only fields with a value.
using ContactValues = QMap<qint32, QString>;

// A field list entry: number and label (the label may be empty).
struct CatalogueField
{
    qint32 Number = 0;
    QString Label;
};
using FieldCatalogue = QList<CatalogueField>;

// The rows as a contact: rows without a field or value are skipped, and a
// later row of the same field wins, as it would when written to ACT!.
ContactValues ValuesFromRows(const FieldRows &rows);
// The rows' field catalogue, whose labels name the fields a card keeps in its note.
FieldCatalogue CatalogueFromRows(const FieldRows &rows);
