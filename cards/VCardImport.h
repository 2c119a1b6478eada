#pragma once

#include "ContactValues.h"

#include <QSet>
#include <QStringList>

#include <memory>

class NoteLabels;
struct VCard;
struct VCardProperty;

struct ImportedContact
{
    ContactValues Values;
    // What the card holds that no field takes, e.g. "BDAY", "TEL",
    // "ADR (Region)", "N (Namenszusatz: III)".
    QStringList Unused;
};

// The fields of one card, property by property, so a card is never held
// whole: the reverse of WriteVCard (a card written from values reads back to
// the same values), and other address books' cards as far as the fields go.
// Where a card has several values for one field the preferred one wins (PREF,
// TYPE=pref), else the work one, else the first.
class VCardContactBuilder
{
public:
    explicit VCardContactBuilder(const NoteLabels &labels);
    ~VCardContactBuilder();
    VCardContactBuilder(const VCardContactBuilder &) = delete;
    VCardContactBuilder &operator=(const VCardContactBuilder &) = delete;

    void Take(const VCardProperty &property);
    // The contact, once the card's last property was taken; the builder is
    // then ready for the next card.
    ImportedContact Finish();

private:
    class Card;
    const NoteLabels &m_labels;
    std::unique_ptr<Card> m_card;
};

ImportedContact ContactFromVCard(const VCard &card, const NoteLabels &labels);
