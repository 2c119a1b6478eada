#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// A name line taken apart: "Herrn Prof. Dr.-Ing. Carl von Stetten" gives Anrede
// "Herr", Titel "Prof. Dr.-Ing.", Kontakt "Carl von Stetten", Vorname "Carl",
// Nachname "von Stetten".
struct PersonName
{
    QString salutation;
    QString title;
    QString name;
    QString firstName;
    QString lastName;
    // A salutation or title was found: the line is surely a name.
    bool marked() const { return !salutation.isEmpty() || !title.isEmpty(); }
};

// The name in text, or none when it does not look like one. A lead-in ("z. H.",
// "i. A.") goes; a role after a comma or in brackets goes too. requireMarks:
// only a name with a salutation or title counts.
std::optional<PersonName> ReadPersonName(QStringView text, bool requireMarks);

// Only a salutation ("Herrn", "Frau"): its stored form, else empty.
QStringView SalutationAlone(QStringView text);
