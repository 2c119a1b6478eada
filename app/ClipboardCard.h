#pragma once

#include "cards/ContactValues.h"

#include <optional>

class QMimeData;

struct ClipboardCard
{
    ContactValues Values;
    QString Text; // the card as text, for the captured-text box
};

// The contact of a card on the clipboard (text/vcard, or plain text that is a
// vCard), read as the cards reader reads a .vcf: the first card it can read.
// Nothing when the clipboard holds no card.
std::optional<ClipboardCard> CardOnClipboard(const QMimeData *data,
                                             const FieldCatalogue &catalogue);
