#include "FixedLabels.h"

#include "Keywords.h"
#include "Score.h"

namespace {

struct Points
{
    qint16 clsZeile::*score;
    int points;
};

struct FixedLabel
{
    KeywordList labels;
    Points first;
    Points second; // points 0: none
};

const FixedLabel FixedLabelTable[] = {
    {{u"Firma:", u"Company:"}, {&clsZeile::Firma, 15}, {}},
    {{u"Name:"}, {&clsZeile::NachName, 10}, {&clsZeile::Kontakt, 5}},
    {{u"Nachname:", u"Surname:", u"lastname:"}, {&clsZeile::NachName, 10}, {}},
    {{u"Kontakt:", u"Contact:"}, {&clsZeile::Kontakt, 15}, {}},
    {{u"Vorname:", u"Firstname:"}, {&clsZeile::Vorname, 15}, {}},
    {{u"Strasse:", u"Straße:", u"Adresse:", u"address:"}, {&clsZeile::Adresse, 15}, {}},
    {{u"PLZ:", u"Postleitzahl:", u"ZIP:", u"ZIP-Code:", u"ZIPCode:"}, {&clsZeile::PLZ, 15}, {}},
    {{u"PLZ/Ort:"}, {&clsZeile::PLZ, 5}, {&clsZeile::Ort, 5}},
    {{u"Stadt:", u"Ort:", u"City:"}, {&clsZeile::Ort, 15}, {}},
    {{u"Land:", u"Country:"}, {&clsZeile::Land, 15}, {}},
    {{u"Titel:"}, {&clsZeile::Titel, 15}, {}},
    {{u"Anrede:"}, {&clsZeile::Anrede, 15}, {}},
    {{u"Inhaber:"}, {&clsZeile::Kontakt, 15}, {}},
};

void add(clsZeile &line, const Points &points)
{
    if (points.score != nullptr)
        AddPoints(line.*points.score, points.points);
}

} // namespace

qsizetype ApplyFixedLabels(QStringView upper, clsZeile &line)
{
    // Every label ends in a colon.
    if (!upper.contains(u':'))
        return 0;
    qsizetype start = 0;
    for (const FixedLabel &label : FixedLabelTable) {
        const QStringView working = upper.sliced(start);
        if (!label.labels.AnyStartsOf(working))
            continue;
        start += working.indexOf(u':') + 1;
        add(line, label.first);
        add(line, label.second);
    }
    return start;
}
