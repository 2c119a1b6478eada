#pragma once

#include "ContactValues.h"

#include <QStringList>

class NoteLabels;
struct VCard;

struct ImportedContact
{
    ContactValues Values;
    // What the card holds that no field takes, e.g. "BDAY", "TEL", "NOTE".
    QStringList Unused;
};

// The fields of a card, the reverse of WriteVCard: a card written from
// values reads back to the same values. Cards of other address books fill
// the same fields as far as they go.
ImportedContact ContactFromVCard(const VCard &card, const NoteLabels &labels);
