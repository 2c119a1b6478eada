#include "FixedLabels.h"

#include "Keywords.h"
#include "ScoreRules.h"

namespace {

namespace Rule = ScoreRules;

struct FixedLabel
{
    KeywordList labels;
    const ScoreRule &rule;
};

const FixedLabel FixedLabelTable[] = {
    {{u"Firma:", u"Company:"}, Rule::CompanyLabel},
    {{u"Name:"}, Rule::NameLabel},
    {{u"Nachname:", u"Surname:", u"lastname:"}, Rule::LastNameLabel},
    {{u"Kontakt:", u"Contact:"}, Rule::ContactLabel},
    {{u"Vorname:", u"Firstname:"}, Rule::FirstNameLabel},
    {{u"Strasse:", u"Straße:", u"Adresse:", u"address:"}, Rule::StreetLabel},
    {{u"PLZ:", u"Postleitzahl:", u"ZIP:", u"ZIP-Code:", u"ZIPCode:"}, Rule::PostcodeLabel},
    {{u"PLZ/Ort:"}, Rule::PostcodeAndCityLabel},
    {{u"Stadt:", u"Ort:", u"City:"}, Rule::CityLabel},
    {{u"Land:", u"Country:"}, Rule::CountryLabel},
    {{u"Titel:"}, Rule::TitleLabel},
    {{u"Anrede:"}, Rule::SalutationLabel},
    {{u"Inhaber:"}, Rule::OwnerLabel},
};

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
        Award(line, label.rule);
    }
    return start;
}
