#pragma once

#include "TextOps.h"

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <span>
#include <utility>
#include <vector>

// The improved recognizer's rule tables. Every cue is compared with the
// lower-cased line; a rule's name is what the debug log gives as the reason.

// Plain comparisons of the rule tables: Qt's general ones cost more than the
// short texts compared here.
inline bool SameText(QStringView a, QStringView b)
{
    return StandardView(a) == StandardView(b);
}
inline bool StartsWithText(QStringView s, QStringView prefix)
{
    return StandardView(s).starts_with(StandardView(prefix));
}
// prefix in lower case; s compared ASCII-case-insensitively.
bool StartsWithNoCase(QStringView s, QStringView prefix);
// Lower case, ASCII first.
QString LowerText(QStringView s);
// The same lower case, kept on the stack for the lines of an address.
class LowerLine
{
public:
    explicit LowerLine(QStringView s);
    QStringView view() const { return {m_text.data(), m_text.size()}; }
    operator QStringView() const { return view(); }

private:
    QVarLengthArray<QChar, 128> m_text;
};

enum class CueAt {
    Start,     // the line starts with it
    Whole,     // the line is it (blanks and a trailing ":" aside)
    Word,      // a whole word anywhere
    WordStart, // the start of a word anywhere
    WordEnd,   // the end of a word anywhere
    Anywhere,  // anywhere
};

struct Cue
{
    QStringView text; // lower case
    CueAt at;
};

// A lower-cased line cut into its words once, for looking up many tables.
struct CueText
{
    explicit CueText(QStringView lowerText);
    QStringView lower;
    QStringView whole; // without outer blanks and a trailing ":" or "."
    QVarLengthArray<std::pair<qsizetype, qsizetype>, 32> words; // [start, end) of each word
    // Whether c may occur in the line: exact for ASCII, any other character counts as one.
    bool MayHold(QChar c) const
    {
        const char16_t u = c.unicode();
        return u < 128 ? (m_ascii[u / 64] >> (u % 64)) & 1U : m_otherSeen;
    }

private:
    quint64 m_ascii[2] = {0, 0};
    bool m_otherSeen = false;
};

// A cue of cues that lower holds, or null.
const Cue *FindCue(QStringView lower, std::span<const Cue> cues);
const Cue *FindCue(const CueText &text, std::span<const Cue> cues);

// The cues of a table whose first character is c, in table order (a few more
// where c is no ASCII character).
std::span<const Cue *const> CuesStartingWith(std::span<const Cue> cues, QChar c);

// Lines that are no part of an address and are dropped, each group with its reason.
struct DropRule
{
    QStringView reason;
    std::span<const Cue> cues;
    bool imprintHeading = false; // the block is a web imprint
};
std::span<const DropRule> DropRules();
// The rule of the first kind of line to drop that text is, or null.
const DropRule *FindDropRule(const CueText &text);

// A label of a role in front of a person's name ("Inhaber:", "Vertreten durch:").
std::span<const Cue> RoleLabels();
// Words that make a line a job title when no company form is on it.
std::span<const Cue> JobTitleWords();
// Legal forms ("GmbH", "&"): a line with one is a company, whatever else it holds.
std::span<const Cue> LegalForms();
// Words that name a business ("...bau", "Praxis"), weaker than a job title.
std::span<const Cue> BusinessWords();
// Words of a street line ("...straße", "Am ...").
std::span<const Cue> StreetCues();
std::span<const Cue> DepartmentCues();
std::span<const Cue> PostBoxCues();
// Words in front of a name that are not stored ("z. H.", "i. A.").
std::span<const Cue> NameLeadIns();
// Labels of values to cut off ("Anschrift:", "E-Mail:"), tried at the start.
std::span<const Cue> ValueLabels();

enum class PhoneKind {
    Telephone,
    Fax,
    Mobile,
};
struct PhoneLabel
{
    QStringView text; // lower case, compared at a word start and followed by no letter
    PhoneKind kind;
};
std::span<const PhoneLabel> PhoneLabels();
// The phone labels whose first character is c, in table order (a few more
// where c is no ASCII character).
std::span<const PhoneLabel *const> PhoneLabelsStartingWith(QChar c);

struct Salutation
{
    QStringView text; // as written, compared case-sensitively at the start
    QStringView stored;
};
std::span<const Salutation> Salutations();
// Academic titles and their parts ("Dr.", "Prof.", "Dipl.-Ing.", "(FH)").
std::span<const QStringView> TitleWords();
std::span<const QStringView> TitleBeginnings();
// Name particles that belong to the last name ("von", "van", "de").
std::span<const QStringView> NameParticles();

// Countries as written in a line, and the stored German name.
struct CountryName
{
    QStringView written; // lower case, the whole line
    QStringView stored;
};
std::span<const CountryName> CountryNames();
// Postcode prefixes ("CH-") and the country they stand for.
struct CountryPrefixRule
{
    QStringView prefix; // upper case, with the hyphen
    QStringView stored;
};
std::span<const CountryPrefixRule> PostcodePrefixes();

// Signs of a country elsewhere in a block: telephone prefixes, domain endings, cities.
struct CountrySign
{
    QStringView text;
    QStringView stored;
};
std::span<const CountrySign> PhoneCountryPrefixes(); // on the cleaned number
std::span<const CountrySign> DomainCountries();      // the end of an e-mail or web domain
std::span<const CountrySign>
FourDigitCities(); // lower case; cities of Switzerland and Liechtenstein
// Cleaned number starts of mobile networks.
std::span<const QStringView> MobilePrefixes();
// Cleaned number starts of mobile networks as dialled inside their country.
std::span<const CountrySign> LocalMobilePrefixes();
