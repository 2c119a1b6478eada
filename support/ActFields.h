#pragma once

#include <QStringView>
#include <QtGlobal>

// ACT!'s field numbers for the fields the system knows by name.
namespace ActField {
constexpr qint32 Firma = 25;
constexpr qint32 Kontakt = 26;
constexpr qint32 Adresse = 27;
constexpr qint32 Adresse2 = 28;
constexpr qint32 Adresse3 = 29;
constexpr qint32 Ort = 30;
constexpr qint32 PLZ = 32;
constexpr qint32 Land = 33;
constexpr qint32 Telefon = 35;
constexpr qint32 Fax = 36;
constexpr qint32 Mobil = 38;
constexpr qint32 Anrede = 40;
constexpr qint32 Titel = 46;
constexpr qint32 Telefon2 = 74;
constexpr qint32 Telefon3 = 77;
constexpr qint32 Vorname = 78;
constexpr qint32 Nachname = 79;
constexpr qint32 Abteilung = 88;
constexpr qint32 Website = 94;
constexpr qint32 EMail = 200;
} // namespace ActField

struct StandardField
{
    qint32 Number;
    QStringView Name;
};

// The standard catalogue, in the order it is added to each row.
inline constexpr StandardField StandardFields[] = {
    {ActField::Firma, u"Firma"},
    {ActField::Abteilung, u"Abteilung"},
    {ActField::Anrede, u"Anrede"},
    {ActField::Kontakt, u"Kontakt"},
    {ActField::Nachname, u"Nachname"},
    {ActField::Vorname, u"Vorname"},
    {ActField::Adresse, u"Adresse"},
    {ActField::PLZ, u"PLZ"},
    {ActField::Ort, u"Ort"},
    {ActField::Land, u"Land"},
    {ActField::Telefon, u"Telefon"},
    {ActField::Fax, u"Fax"},
    {ActField::Mobil, u"Mobil"},
    {ActField::EMail, u"eMail"},
    {ActField::Website, u"Website"},
    {ActField::Titel, u"Titel"},
    {ActField::Adresse2, u"Adresse 2"},
    {ActField::Adresse3, u"Adresse 3"},
    {ActField::Telefon2, u"Telefon 2"},
    {ActField::Telefon3, u"Telefon 3"},
};

// The standard catalogue's name of a field, or an empty view.
constexpr QStringView StandardFieldName(qint32 number)
{
    for (const StandardField &field : StandardFields) {
        if (field.Number == number)
            return field.Name;
    }
    return {};
}
