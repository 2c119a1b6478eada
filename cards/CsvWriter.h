#pragma once

#include "ContactValues.h"

#include <QByteArray>

class NoteLabels;

// Contacts as CSV: one line per contact under a header of the standard field
// names and "Notiz" for all other fields ("Label: value" lines), fields
// separated by commas and quoted where needed, CR LF line ends.
namespace ContactCsv {

// A UTF-8 byte-order mark, so spreadsheet programs read umlauts, then the header.
QByteArray Header();
QByteArray Line(const ContactValues &values, const NoteLabels &labels);

} // namespace ContactCsv
