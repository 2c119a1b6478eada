#pragma once

#include "ContactValues.h"

#include <QByteArray>
#include <QStringView>

#include <optional>

class NoteLabels;

enum class VCardVersion { V4, V3 };

// "4.0" or "3.0".
std::optional<VCardVersion> VCardVersionNamed(QStringView name);

// One contact as a vCard (CR LF line ends, folded, UTF-8). The same values give
// the same card, UID included.
QByteArray WriteVCard(const ContactValues &values, const NoteLabels &labels, VCardVersion version);

// A name-based UUID of the values, so a contact keeps its UID across exports.
QString ContactUid(const ContactValues &values);

// The parameter that names which of the three work phones a number is, and
// the one that marks a formatted name made up from other fields; readers that
// do not know them ignore them.
inline constexpr QStringView PhoneSlotParameter = u"X-ORDALIS-FIELD";
inline constexpr QStringView DerivedNameParameter = u"X-ORDALIS-DERIVED";
