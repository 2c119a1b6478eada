#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include "support/FieldValue.h"

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

// The rows and the definition hits as a contact, as ACT! would receive them:
// rows without a field or value are skipped, a later row of the same field
// wins, and the hits come last.
ContactValues ValuesFromRows(const FieldRows &rows, const QList<FieldValue> &hits = {});
// A contact into the rows, one field a row in the order of the field numbers,
// from row 0; every row is reset first, values beyond the last row are left
// out. A field the catalogue lacks leaves its row with the value and no field.
void RowsFromValues(const ContactValues &values, FieldRows &rows);
// The rows' field catalogue, whose labels name the fields a card keeps in its note.
FieldCatalogue CatalogueFromRows(const FieldRows &rows);
