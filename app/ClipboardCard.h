#pragma once

#include "cards/ContactValues.h"

#include <optional>

class QMimeData;

// The contact of a card on the clipboard (text/vcard, or plain text that is a
// vCard), read as the cards reader reads a .vcf: the first card it can read.
// Nothing when the clipboard holds no card.
std::optional<ContactValues> CardOnClipboard(const QMimeData *data,
                                             const FieldCatalogue &catalogue);
