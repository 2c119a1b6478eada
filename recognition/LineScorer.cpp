#include "LineScorer.h"

#include "FixedLabels.h"
#include "Keywords.h"
#include "Score.h"
#include "TextOps.h"

#include <algorithm>
#include <optional>

namespace {

// Keywords as the recognition has always used them; all compared upper-cased.
const KeywordList CompanySigns{u"*", u"!", u"+", u"?", u"&"};
const KeywordList CompanyForms{u" gmbh ", u" ohg ", u" ag ", u" firma "}; // on the padded line
const KeywordList Countries{u"deutschland", u"germany", u"Österreich",
                            u"oesterreich", u"Schweiz", u"USA"};
const KeywordList Salutations{u"Herr", u"Frau"};
const KeywordList TitleEndings{u"Dr.",        u"Prof.",  u"Dipl.Ing.",
                               u"Dipl. Ing.", u"Doktor", u"Professor"};
const KeywordList Titles{u"Doktor", u"Professor", u"Dipl.Ing.", u"Dipl. Ing.", u"Dr.", u"Prof."};
const KeywordList StreetWords{u"Strasse", u"Straße", u"weg", u"allee", u"platz", u"gasse", u"str."};
const KeywordList PlacePrepositions{u"In ", u"Im ", u"Am ", u"An "};
const KeywordList PlaceWords{u"garten", u"park", u"platz"};
const KeywordList PostBox{u"postfach"};
const KeywordList TelephoneWords{u"Telefon", u"Phone", u"Tel"};
const KeywordList FaxWords{u"Fax", u"Telefax"};
const KeywordList MobileWords{u"Mobil", u"Handy"};
const KeywordList WebMarks{u"www", u"http://"};
const KeywordList DomainEndings{u".biz", u".com", u".de", u".net", u".at", u".eu", u".org"};
const KeywordList Hyphen{u"-"};
const KeywordList EMailMark{u"@"};
const KeywordList LandWord{u"land"};

constexpr qint16 InsertedCityScore = 11;

bool isCapitalAZ(QChar c)
{
    return c.unicode() >= u'A' && c.unicode() <= u'Z';
}

// A bare postcode standing next to a city line: short, four or five digits.
bool isPostcodeOnly(const CapturedLine &line)
{
    if (line.Text.size() >= 6)
        return false;
    const int digits = CountDigits(line.Text);
    return digits < 6 && digits > 3;
}

int wordCount(QStringView s)
{
    const QStringView trimmed = TrimBlanks(s);
    if (trimmed.isEmpty())
        return 0;
    return int(std::count(trimmed.begin(), trimmed.end(), u' ')) + 1;
}

bool hasCapitalPair(QStringView s)
{
    for (qsizetype k = 1; k < s.size(); ++k) {
        if (isCapitalAZ(s[k - 1]) && isCapitalAZ(s[k]))
            return true;
    }
    return false;
}

// The line being scored and its place in the list.
struct Place
{
    int i; // 1-based
    int n; // lines in the list
    CapturedLine *previous;
    CapturedLine *next;
};

// The line's text as the keyword rules see it.
struct Texts
{
    QStringView text;
    QStringView upper;
    QStringView padded;  // upper with a blank on either side
    TextSummary summary; // of padded
    int digits;
};

// 1. position
void scorePosition(CapturedLine &line, int i)
{
    if (i == 1) {
        AddPoints(line.Firma, 3);
        AddPoints(line.Kontakt, 3);
    } else if (i == 2) {
        AddPoints(line.Firma, 3);
        AddPoints(line.Kontakt, 4);
    }
    if (i >= 3 && i <= 5)
        AddPoints(line.Adresse, 3);
    if (i == 4 || i == 5) {
        AddPoints(line.Ort, 2);
        AddPoints(line.PLZ, 1);
    }
}

// 2. word count, 3. two capitals side by side, 4. digits, 5. hyphen
void scoreShape(CapturedLine &line, const Texts &t)
{
    const int words = wordCount(t.text);
    if (words == 2) {
        AddPoints(line.Kontakt, 2);
    } else if (words >= 3) {
        AddPoints(line.Kontakt, 1);
        AddPoints(line.Firma, 2);
    }
    if (hasCapitalPair(t.text))
        AddPoints(line.Firma, 3);
    if (t.digits > 0)
        AddPoints(line.Firma, 1);
    if (Hyphen.AnyContainedIn(t.upper, t.summary))
        AddPoints(line.Firma, 1);
}

// 6. a bare postcode before or after this line makes it the city
void scoreNextToPostcode(CapturedLine &line, const Place &at, int digits)
{
    if (digits > 5)
        return;
    if (at.i > 3 && at.previous != nullptr && isPostcodeOnly(*at.previous))
        AddPoints(line.Ort, 10);
    if (at.i < at.n && at.next != nullptr && isPostcodeOnly(*at.next))
        AddPoints(line.Ort, 10);
}

// 7. company marks, 8. countries
void scoreCompanyAndCountry(CapturedLine &line, const Place &at, const Texts &t)
{
    if (CompanySigns.AnyContainedIn(t.upper, t.summary) ||
        CompanyForms.AnyContainedIn(t.padded, t.summary)) {
        AddPoints(line.Firma, 3);
        if (at.i == 2 && at.previous != nullptr)
            AddPoints(at.previous->Kontakt, 1);
        if (at.i == 1 && at.n > 1 && at.next != nullptr)
            AddPoints(at.next->Kontakt, 1);
    }
    if (Countries.AnyContainedIn(t.upper, t.summary))
        AddPoints(line.Land, 6);
    if (at.i >= 4 && LandWord.AnyContainedIn(t.upper, t.summary))
        AddPoints(line.Land, 3);
}

// 9. salutation, with the name on this line or on the next; 10. academic titles
void scoreSalutationAndTitle(CapturedLine &line, const Place &at, const Texts &t)
{
    if (Salutations.AnyContainedIn(t.upper, t.summary)) {
        AddPoints(line.Anrede, 10);
        if (t.text.size() > 4 && !TitleEndings.AnyEndsOf(t.upper)) {
            AddPoints(line.Kontakt, 11);
        } else {
            if (at.i + 1 <= at.n && at.next != nullptr)
                AddPoints(at.next->Kontakt, 10);
            AddPoints(line.Anrede, 3);
        }
    }
    if (Titles.AnyContainedIn(t.upper, t.summary)) {
        AddPoints(line.Kontakt, 4);
        AddPoints(line.Titel, 3);
    }
}

// 11. street words, 12. "Am Park" and the like, 13. post-office box
void scoreAddress(CapturedLine &line, const Texts &t)
{
    if (StreetWords.AnyContainedIn(t.upper, t.summary))
        AddPoints(line.Adresse, 10);
    if (PlacePrepositions.AnyStartsOf(t.upper) && PlaceWords.AnyContainedIn(t.upper, t.summary))
        AddPoints(line.Adresse, 5);
    if (PostBox.AnyContainedIn(t.upper, t.summary))
        AddPoints(line.Postfach, 10);
}

// 17. web marks, 18. e-mail mark, 19. domain endings
void scoreOnlineAddress(CapturedLine &line, const Texts &t)
{
    if (WebMarks.AnyContainedIn(t.upper, t.summary)) {
        AddPoints(line.Website, 10);
        AddPoints(line.EMail, 2);
        AddPoints(line.Firma, 1);
    }
    if (EMailMark.AnyContainedIn(t.upper, t.summary)) {
        AddPoints(line.EMail, 10);
        AddPoints(line.Firma, 2);
    }
    if (DomainEndings.AnyEndsOf(t.upper)) {
        AddPoints(line.EMail, 7);
        AddPoints(line.Website, 7);
    }
}

// 21. few digits
void scoreFewDigits(CapturedLine &line, int digits)
{
    if (digits < 1 || digits > 5)
        return;
    if (digits < 4)
        AddPoints(line.Adresse, 1);
    AddPoints(line.Adresse, 3);
    AddPoints(line.Postfach, 3);
    if (digits == 4)
        AddPoints(line.PLZ, 2);
    AddPoints(line.PLZ, 3);
    AddPoints(line.Firma, 2);
    AddPoints(line.EMail, 1);
}

// 22. a leading postcode; what follows it becomes a city line of its own
std::optional<CapturedLine> splitLeadingPostcode(CapturedLine &line, int digits)
{
    const QStringView s = line.Text;
    if (s.size() < 4 || digits > 6)
        return std::nullopt;
    int postcodeLength = 0;
    if (CountDigits(s.left(5)) == 5)
        postcodeLength = 5;
    else if (CountDigits(s.left(4)) == 4)
        postcodeLength = 4;
    if (postcodeLength == 0)
        return std::nullopt;
    AddPoints(line.PLZ, 8);
    if (s.size() == postcodeLength)
        return std::nullopt;
    CapturedLine city;
    city.Text = TrimBlanks(s.sliced(postcodeLength)).toString();
    city.Ort = InsertedCityScore;
    line.Text.truncate(postcodeLength);
    return city;
}

// One run of the loop: the keyword flags carry from line to line.
class ScoringPass
{
public:
    LineList Run(LineList input);

private:
    std::optional<CapturedLine> classify(CapturedLine &line, const Place &at);
    void prepareText(CapturedLine &line);
    void scorePhoneWords(CapturedLine &line, QStringView upper);
    void scoreNumber(CapturedLine &line, int digits) const;
    QStringView padded() const { return QStringView(m_padded.data(), qsizetype(m_padded.size())); }

    bool m_telKeywordSeen = false;
    bool m_faxKeywordSeen = false;
    std::vector<QChar> m_padded; // " " + upper-cased text + " "
    TextSummary m_summary;       // of m_padded
};

// Labels first; then the working text, trimmed, is the line's text.
void ScoringPass::prepareText(CapturedLine &line)
{
    const auto pad = [this](QStringView text) {
        m_padded.resize(size_t(text.size()) + 2);
        QChar *d = m_padded.data();
        d[0] = u' ';
        std::copy(text.begin(), text.end(), d + 1);
        d[text.size() + 1] = u' ';
        m_summary = TextSummary::OfUpperCased(d, qsizetype(m_padded.size()));
    };
    pad(line.Text);
    const qsizetype start = ApplyFixedLabels(padded().sliced(1, line.Text.size()), line);
    const QStringView trimmed = TrimBlanks(QStringView(line.Text).sliced(start));
    if (trimmed.size() != line.Text.size()) {
        line.Text = trimmed.toString();
        pad(line.Text);
    }
}

// 14.-16. telephone, fax and mobile words
void ScoringPass::scorePhoneWords(CapturedLine &line, QStringView upper)
{
    if (TelephoneWords.AnyStartsOf(upper)) {
        AddPoints(line.Telefon, 10);
        m_telKeywordSeen = true;
    }
    if (FaxWords.AnyStartsOf(upper)) {
        AddPoints(line.Fax, 10);
        m_faxKeywordSeen = true;
    }
    if (MobileWords.AnyStartsOf(upper))
        AddPoints(line.Mobil, 10);
}

// 20. a number line; once a telephone or fax word was seen, bare numbers count less
void ScoringPass::scoreNumber(CapturedLine &line, int digits) const
{
    if (digits < 6)
        return;
    AddPoints(line.Telefon, m_telKeywordSeen ? 6 : 10);
    AddPoints(line.Fax, m_faxKeywordSeen ? 8 : 10);
    AddPoints(line.Mobil, 5);
    AddPoints(line.Postfach, 3);
}

std::optional<CapturedLine> ScoringPass::classify(CapturedLine &line, const Place &at)
{
    const QStringView padded = this->padded();
    const Texts t{line.Text, padded.sliced(1, line.Text.size()), padded, m_summary,
                  CountDigits(line.Text)};
    scorePosition(line, at.i);
    scoreShape(line, t);
    scoreNextToPostcode(line, at, t.digits);
    scoreCompanyAndCountry(line, at, t);
    scoreSalutationAndTitle(line, at, t);
    scoreAddress(line, t);
    scorePhoneWords(line, t.upper);
    scoreOnlineAddress(line, t);
    scoreNumber(line, t.digits);
    scoreFewDigits(line, t.digits);
    return splitLeadingPostcode(line, t.digits);
}

LineList ScoringPass::Run(LineList input)
{
    LineList scored;
    // Room for a city line after every line: growing a list of a million lines
    // costs more than reserving memory that is never touched.
    scored.reserve(2 * input.size());
    // The line list is scored + current + (inserted city) + input[next...]; a
    // city line is visited right after its postcode, as if inserted there.
    std::optional<CapturedLine> inserted;
    size_t next = 0;
    while (inserted || next < input.size()) {
        CapturedLine current = inserted ? std::move(*inserted) : std::move(input[next++]);
        inserted.reset();
        const int i = int(scored.size()) + 1;
        const int n = i + int(input.size() - next);
        CapturedLine *previous = scored.empty() ? nullptr : &scored.back();
        CapturedLine *following = next < input.size() ? &input[next] : nullptr;
        prepareText(current);
        inserted = classify(current, Place{i, n, previous, following});
        scored.push_back(std::move(current));
    }
    return scored;
}

} // namespace

LineList ScoreLines(LineList lines)
{
    return ScoringPass().Run(std::move(lines));
}
