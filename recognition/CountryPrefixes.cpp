#include "CountryPrefixes.h"

#include "ScoreRules.h"
#include "TextOps.h"

namespace {

struct CountryPrefix
{
    QStringView spacedForm; // exact, at the start of the line
    QStringView code;       // compared upper-cased
    int digits;             // among the first seven characters
    QStringView country;    // text of the inserted line
};

const CountryPrefix CountryPrefixes[] = {
    {u"D -", u"D", 5, u"Deutschland"},
    {u"CH -", u"CH", 4, u"Schweiz"},
    {u"A -", u"A", 4, u"Österreich"},
};

// "D - 12345" becomes "D-12345": the spaced form and the blank behind it lose their blanks.
QString repairSpacedForm(const QString &text, QStringView spacedForm)
{
    if (!text.startsWith(spacedForm))
        return text;
    const qsizetype head = spacedForm.size() + 1;
    QString repaired = text.left(head);
    repaired.remove(u' ');
    repaired += QStringView(text).mid(head);
    return repaired;
}

bool qualifies(QStringView s, const CountryPrefix &prefix)
{
    const QStringView head = TrimBlanks(s).left(7);
    QChar upper[7];
    UpperCopy(head, upper);
    const QStringView upperHead(upper, head.size());
    return upperHead.startsWith(prefix.code) && CountDigits(upperHead) == prefix.digits;
}

// Only a line whose first non-blank character is the code's first letter can qualify.
bool mayQualify(QStringView text, const CountryPrefix &prefix)
{
    qsizetype first = 0;
    while (first < text.size() && text[first] == u' ')
        ++first;
    if (first == text.size())
        return false;
    const char16_t c = text[first].unicode();
    const char16_t code = prefix.code[0].unicode(); // an ASCII capital
    return c == code || c == code + 32;
}

} // namespace

void ApplyCountryPrefixes(LineList &lines)
{
    for (const CountryPrefix &prefix : CountryPrefixes) {
        const size_t count = lines.size();
        for (size_t p = 0; p < count; ++p) {
            if (!mayQualify(lines[p].Text, prefix))
                continue;
            QString s = repairSpacedForm(lines[p].Text, prefix.spacedForm);
            if (!qualifies(s, prefix))
                continue;
            qsizetype firstDigit = 0;
            while (firstDigit < s.size() && !IsDigit09(s[firstDigit]))
                ++firstDigit;
            lines[p].Text = s.mid(firstDigit);
            CapturedLine country;
            country.Text = prefix.country.toString();
            Award(country, ScoreRules::CountryOfPostcode);
            lines.insert(lines.begin() + qsizetype(p) + 1, std::move(country));
            break;
        }
    }
}
