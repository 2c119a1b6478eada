#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include "support/clsZusatzDefs.h"

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
ContactValues ValuesFromRows(const FieldRows &rows, const QList<clsZusatzDefs> &hits = {});
// The rows' field catalogue, whose labels name the fields a card keeps in its note.
FieldCatalogue CatalogueFromRows(const FieldRows &rows);
