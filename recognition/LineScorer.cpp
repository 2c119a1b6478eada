#include "LineScorer.h"

#include "FixedLabels.h"
#include "Keywords.h"
#include "ScoreRules.h"
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

namespace Rule = ScoreRules;

// Where the line stands in the block.
void scorePosition(CapturedLine &line, int i)
{
    if (i == 1)
        Award(line, Rule::FirstLine);
    else if (i == 2)
        Award(line, Rule::SecondLine);
    if (i >= 3 && i <= 5)
        Award(line, Rule::ThirdToFifthLine);
    if (i == 4 || i == 5)
        Award(line, Rule::FourthOrFifthLine);
}

// Word count, two capitals side by side, digits, a hyphen.
void scoreShape(CapturedLine &line, const Texts &t)
{
    const int words = wordCount(t.text);
    if (words == 2)
        Award(line, Rule::TwoWords);
    else if (words >= 3)
        Award(line, Rule::ThreeOrMoreWords);
    if (hasCapitalPair(t.text))
        Award(line, Rule::TwoCapitalsInARow);
    if (t.digits > 0)
        Award(line, Rule::AnyDigit);
    if (Hyphen.AnyContainedIn(t.upper, t.summary))
        Award(line, Rule::Hyphen);
}

// A bare postcode before or after this line makes it the city.
void scoreNextToPostcode(CapturedLine &line, const Place &at, int digits)
{
    if (digits > 5)
        return;
    if (at.i > 3 && at.previous != nullptr && isPostcodeOnly(*at.previous))
        Award(line, Rule::NextToBarePostcode);
    if (at.i < at.n && at.next != nullptr && isPostcodeOnly(*at.next))
        Award(line, Rule::NextToBarePostcode);
}

// Company marks and country names.
void scoreCompanyAndCountry(CapturedLine &line, const Place &at, const Texts &t)
{
    if (CompanySigns.AnyContainedIn(t.upper, t.summary) ||
        CompanyForms.AnyContainedIn(t.padded, t.summary)) {
        Award(line, Rule::CompanyMark);
        if (at.i == 2 && at.previous != nullptr)
            Award(*at.previous, Rule::BesideCompanyMark);
        if (at.i == 1 && at.n > 1 && at.next != nullptr)
            Award(*at.next, Rule::BesideCompanyMark);
    }
    if (Countries.AnyContainedIn(t.upper, t.summary))
        Award(line, Rule::CountryName);
    if (at.i >= 4 && LandWord.AnyContainedIn(t.upper, t.summary))
        Award(line, Rule::LandFromFourthLine);
}

// A salutation, with the name on this line or on the next; academic titles.
void scoreSalutationAndTitle(CapturedLine &line, const Place &at, const Texts &t)
{
    if (Salutations.AnyContainedIn(t.upper, t.summary)) {
        Award(line, Rule::SalutationWord);
        if (t.text.size() > 4 && !TitleEndings.AnyEndsOf(t.upper)) {
            Award(line, Rule::NameAfterSalutation);
        } else {
            if (at.i + 1 <= at.n && at.next != nullptr)
                Award(*at.next, Rule::NameBelowSalutation);
            Award(line, Rule::SalutationAlone);
        }
    }
    if (Titles.AnyContainedIn(t.upper, t.summary))
        Award(line, Rule::AcademicTitle);
}

// Street words, "Am Park" and the like, a post-office box.
void scoreAddress(CapturedLine &line, const Texts &t)
{
    if (StreetWords.AnyContainedIn(t.upper, t.summary))
        Award(line, Rule::StreetWord);
    if (PlacePrepositions.AnyStartsOf(t.upper) && PlaceWords.AnyContainedIn(t.upper, t.summary))
        Award(line, Rule::PlaceName);
    if (PostBox.AnyContainedIn(t.upper, t.summary))
        Award(line, Rule::PostBoxWord);
}

// Web marks, the e-mail mark, domain endings.
void scoreOnlineAddress(CapturedLine &line, const Texts &t)
{
    if (WebMarks.AnyContainedIn(t.upper, t.summary))
        Award(line, Rule::WebMark);
    if (EMailMark.AnyContainedIn(t.upper, t.summary))
        Award(line, Rule::AtSign);
    if (DomainEndings.AnyEndsOf(t.upper))
        Award(line, Rule::DomainEnding);
}

// One to five digits.
void scoreFewDigits(CapturedLine &line, int digits)
{
    if (digits < 1 || digits > 5)
        return;
    if (digits < 4)
        Award(line, Rule::UpToThreeDigits);
    Award(line, Rule::FewDigits);
    if (digits == 4)
        Award(line, Rule::FourDigits);
}

// A leading postcode; what follows it becomes a city line of its own.
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
    Award(line, Rule::LeadingPostcode);
    if (s.size() == postcodeLength)
        return std::nullopt;
    CapturedLine city;
    city.Text = TrimBlanks(s.sliced(postcodeLength)).toString();
    Award(city, Rule::CityAfterPostcode);
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

// Telephone, fax and mobile words.
void ScoringPass::scorePhoneWords(CapturedLine &line, QStringView upper)
{
    if (TelephoneWords.AnyStartsOf(upper)) {
        Award(line, Rule::TelephoneWord);
        m_telKeywordSeen = true;
    }
    if (FaxWords.AnyStartsOf(upper)) {
        Award(line, Rule::FaxWord);
        m_faxKeywordSeen = true;
    }
    if (MobileWords.AnyStartsOf(upper))
        Award(line, Rule::MobileWord);
}

// A number line; once a telephone or fax word was seen, bare numbers count less.
void ScoringPass::scoreNumber(CapturedLine &line, int digits) const
{
    if (digits < 6)
        return;
    if (m_telKeywordSeen)
        Award(line, Rule::LongNumberAfterTelephoneWord);
    else
        Award(line, Rule::LongNumberAsTelephone);
    if (m_faxKeywordSeen)
        Award(line, Rule::LongNumberAfterFaxWord);
    else
        Award(line, Rule::LongNumberAsFax);
    Award(line, Rule::LongNumber);
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
