#include "FixedLabels.h"

#include "Keywords.h"
#include "Score.h"

namespace {

struct Points
{
    qint16 CapturedLine::*score;
    int points;
};

struct FixedLabel
{
    KeywordList labels;
    Points first;
    Points second; // points 0: none
};

const FixedLabel FixedLabelTable[] = {
    {{u"Firma:", u"Company:"}, {&CapturedLine::Firma, 15}, {}},
    {{u"Name:"}, {&CapturedLine::Nachname, 10}, {&CapturedLine::Kontakt, 5}},
    {{u"Nachname:", u"Surname:", u"lastname:"}, {&CapturedLine::Nachname, 10}, {}},
    {{u"Kontakt:", u"Contact:"}, {&CapturedLine::Kontakt, 15}, {}},
    {{u"Vorname:", u"Firstname:"}, {&CapturedLine::Vorname, 15}, {}},
    {{u"Strasse:", u"Straße:", u"Adresse:", u"address:"}, {&CapturedLine::Adresse, 15}, {}},
    {{u"PLZ:", u"Postleitzahl:", u"ZIP:", u"ZIP-Code:", u"ZIPCode:"}, {&CapturedLine::PLZ, 15}, {}},
    {{u"PLZ/Ort:"}, {&CapturedLine::PLZ, 5}, {&CapturedLine::Ort, 5}},
    {{u"Stadt:", u"Ort:", u"City:"}, {&CapturedLine::Ort, 15}, {}},
    {{u"Land:", u"Country:"}, {&CapturedLine::Land, 15}, {}},
    {{u"Titel:"}, {&CapturedLine::Titel, 15}, {}},
    {{u"Anrede:"}, {&CapturedLine::Anrede, 15}, {}},
    {{u"Inhaber:"}, {&CapturedLine::Kontakt, 15}, {}},
};

void add(CapturedLine &line, const Points &points)
{
    if (points.score != nullptr)
        AddPoints(line.*points.score, points.points);
}

} // namespace

qsizetype ApplyFixedLabels(QStringView upper, CapturedLine &line)
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
