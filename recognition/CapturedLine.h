#pragma once

#include <QString>

#include <vector>

// One line of the captured text and its score per field. Scores are 16-bit, as
// the recognition has always kept them; additions go through AddPoints (Score.h).
// Formerly clsZeile.
struct CapturedLine
{
    QString Text;
    qint16 Firma = 0;
    qint16 Kontakt = 0;
    qint16 Anrede = 0;
    qint16 Nachname = 0;
    qint16 Vorname = 0;
    qint16 Postfach = 0;
    qint16 Adresse = 0;
    qint16 PLZ = 0;
    qint16 Ort = 0;
    qint16 Land = 0;
    qint16 Telefon = 0;
    qint16 Fax = 0;
    qint16 Mobil = 0;
    qint16 EMail = 0;
    qint16 Website = 0;
    qint16 Adresse2 = 0;
    qint16 Adresse3 = 0;
    qint16 Titel = 0;
    qint16 Telefon2 = 0;
    qint16 Telefon3 = 0;
};

// The line list of one parse; element 0 is line 1.
using LineList = std::vector<CapturedLine>;
