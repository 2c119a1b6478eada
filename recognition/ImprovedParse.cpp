#include "ImprovedParse.h"

#include "ImprovedRules.h"
#include "LineSplitter.h"
#include "Normalisers.h"
#include "PersonName.h"
#include "RecognitionContext.h"
#include "RecognitionDiagnostics.h"
#include "TextOps.h"
#include "UserLabels.h"

#include "support/ActFields.h"
#include "support/FieldRows.h"

#include <QList>
#include <QVarLengthArray>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

constexpr int MostAddressLines = 3;
constexpr int MostTelephones = 3;
constexpr int LeastPhoneDigits = 5;
constexpr int MostStreetWords = 7;
// No address line is longer; a longer one is no value, and looking ahead
// only this far keeps a hostile text linear.
constexpr qsizetype LongestValue = 300;
constexpr QStringView ShapeOnly = u"a name's shape";

// What the block holds, filled line by line; the first value of a field wins.
struct Contact
{
    std::optional<PersonName> person;
    bool personWeak = false; // taken by the shape of its line alone
    QString personLine;
    QString company;
    QString leftOver; // the company when no line names a business
    QString department;
    QStringList addressLines;
    QString postcode;
    QString postcodeCountry; // from a prefix such as "CH-"
    QString city;
    QString country; // stored form, from a country line
    QStringList telephones;
    QString fax;
    QString mobile;
    QString email;
    QString website;
};

// What a line leaves for the next one.
struct Pending
{
    QString salutation;     // "Herrn" alone on its line
    bool roleLabel = false; // "Vertreten durch:" alone on its line
};

void explain(QStringView line, const char *field, QStringView reason)
{
    qCDebug(lcRecognition).noquote().nospace()
        << "improved: \"" << line << "\" -> " << field << " (" << reason << ")";
}

template <typename Test> bool any(QStringView s, Test test)
{
    for (QChar c : s) {
        if (test(c))
            return true;
    }
    return false;
}

bool hasDigit(QStringView s)
{
    return any(s, IsDigit09);
}

bool hasLetter(QStringView s)
{
    return any(s, [](QChar c) { return c.isLetter(); });
}

QStringView trimmedView(QStringView s)
{
    while (!s.isEmpty() && (s[0] == u' ' || s[0] == u'\t'))
        s = s.sliced(1);
    while (!s.isEmpty() && (s.back() == u' ' || s.back() == u'\t'))
        s.chop(1);
    return s;
}

// The text after a leading label of cues ("Anschrift: ...", "Inhaber: ..."); the
// label runs to its colon when one follows soon ("Vertreten durch den Vorstand: ...").
std::optional<QStringView> afterLabel(QStringView text, QStringView lower,
                                      std::span<const Cue> cues, bool wholeWord = true)
{
    if (lower.isEmpty())
        return std::nullopt;
    for (const Cue *cue : CuesStartingWith(cues, lower[0])) {
        if (lower[0] != cue->text[0] || !StartsWithText(lower, cue->text))
            continue;
        qsizetype end = cue->text.size();
        if (end < lower.size() && lower[end].isLetterOrNumber()) {
            if (wholeWord)
                continue; // "Email" is no label "E"
            while (end < lower.size() && lower[end].isLetter())
                ++end; // "Vertretungsberechtigte"
        }
        QStringView rest = text.sliced(end);
        const qsizetype colon = FindChar(rest, u':');
        if (colon >= 0 && rest.first(colon).count(u' ') <= 4 && !hasDigit(rest.first(colon)) &&
            !HasChar(rest.first(colon), u'@') && !HasChar(rest.first(colon), u'/'))
            rest = rest.sliced(colon + 1);
        while (!rest.isEmpty() && (rest[0] == u' ' || rest[0] == u'.' || rest[0] == u':'))
            rest = rest.sliced(1);
        return trimmedView(rest);
    }
    return std::nullopt;
}

// --- cutting the text into value lines

// "70173 Stuttgart", "CH-8001 Zürich", "D-79098Freiburg": the postcode's
// country prefix (or empty), the postcode and the city.
struct PostcodeCity
{
    QStringView prefix;
    QStringView postcode;
    QStringView city;
};

bool isCountryPrefix(QStringView letters)
{
    for (const CountryPrefixRule &prefix : PostcodePrefixes()) {
        if (SameText(prefix.prefix.chopped(1), letters))
            return true;
    }
    return false;
}

std::optional<PostcodeCity> readPostcodeCity(QStringView s)
{
    PostcodeCity found;
    qsizetype at = 0;
    while (at < s.size() && at < 3 && s[at].isLetter() && s[at].isUpper())
        ++at;
    if (at > 0) {
        qsizetype dash = at;
        while (dash < s.size() && s[dash] == u' ')
            ++dash;
        const bool hyphen = dash < s.size() && s[dash] == u'-';
        if (!hyphen && !(dash > at && isCountryPrefix(s.first(at))))
            return std::nullopt;
        found.prefix = s.first(at);
        at = hyphen ? dash + 1 : dash;
        while (at < s.size() && s[at] == u' ')
            ++at;
    }
    const qsizetype digitsStart = at;
    while (at < s.size() && IsDigit09(s[at]))
        ++at;
    const qsizetype digits = at - digitsStart;
    if (digits < 4 || digits > 5)
        return std::nullopt;
    found.postcode = s.sliced(digitsStart, digits);
    const QStringView city = trimmedView(s.sliced(at));
    if (city.isEmpty() || !city[0].isLetter() || !city[0].isUpper() || hasDigit(city))
        return std::nullopt;
    if (city.count(u' ') > 4)
        return std::nullopt;
    found.city = city;
    return found;
}

// Where a phone label starts a value: at a word start, followed by no letter.
const PhoneLabel *phoneLabelAt(QStringView lower, qsizetype at)
{
    if (at > 0 && lower[at - 1].isLetterOrNumber())
        return nullptr;
    if (at >= lower.size())
        return nullptr;
    for (const PhoneLabel *label : PhoneLabelsStartingWith(lower[at])) {
        const qsizetype end = at + label->text.size();
        if (label->text[0] == lower[at] && StartsWithText(lower.sliced(at), label->text) &&
            (end >= lower.size() || !lower[end].isLetter()))
            return label;
    }
    return nullptr;
}

// Cuts a line before every further phone label that follows digits ("Tel 0711 1 Fax 0711 2").
void splitPhoneLabels(QStringView line, QList<QStringView> &out)
{
    // Only a line that starts with a phone label can hold two.
    const bool mayStartWithLabel =
        !line.isEmpty() && std::any_of(PhoneLabels().begin(), PhoneLabels().end(),
                                       [first = line[0].toLower()](const PhoneLabel &label) {
                                           return label.text[0] == first;
                                       });
    if (!mayStartWithLabel) {
        out.append(line);
        return;
    }
    const LowerLine lower(line);
    if (phoneLabelAt(lower, 0) == nullptr) {
        out.append(line);
        return;
    }
    qsizetype from = 0;
    bool digitsSeen = false;
    for (qsizetype at = 1; at < line.size(); ++at) {
        if (IsDigit09(line[at]))
            digitsSeen = true;
        else if (digitsSeen && line[at].isLetter() && phoneLabelAt(lower, at) != nullptr) {
            out.append(trimmedView(line.sliced(from, at - from)));
            from = at;
            digitsSeen = false;
        }
    }
    out.append(trimmedView(line.sliced(from)));
}

// "Hauptstraße 5", "Am Markt 3-5", "Stiege 2/Tür 5"; a line that names a business
// needs a street word ("Bau AG 2" is none).
bool isStreet(QStringView s, bool business)
{
    if (s.isEmpty() || !s[0].isLetter() || !hasDigit(s) || s.count(u' ') + 1 > MostStreetWords)
        return false;
    const LowerLine lower(s);
    if (FindCue(lower, StreetCues()) != nullptr)
        return true;
    return !business && IsDigit09(s[FindLastChar(s, u' ') + 1]);
}

// In a line of several lines, a comma or semicolon parts values only before a
// postcode and city, a phone, or a role ("Reto Pfister, Geschäftsführer").
bool startsOwnValue(QStringView part)
{
    part = part.first(std::min(part.size(), LongestValue));
    const LowerLine lower(part);
    QStringView value = part;
    const qsizetype comma = FindChar(value, u',');
    if (comma > 0)
        value = trimmedView(value.first(comma));
    const LowerLine lowerValue(value);
    const bool country = std::any_of(
        CountryNames().begin(), CountryNames().end(),
        [&lowerValue](const CountryName &c) { return SameText(lowerValue, c.written); });
    return country || readPostcodeCity(part).has_value() || phoneLabelAt(lower, 0) != nullptr ||
           FindCue(lower, JobTitleWords()) != nullptr || HasChar(value, u'@') ||
           isStreet(value, false);
}

// "Holzbau GmbH - Im Grund 20 - 9492 Eschen": a spaced dash parts values when
// it comes twice or a postcode, phone or role follows it.
void splitAtSpacedDashes(QStringView piece, QList<QStringView> &out)
{
    QList<qsizetype> dashes;
    for (qsizetype at = 1; at + 2 < piece.size(); ++at) {
        const QChar c = piece[at];
        if ((c == u'-' || c == u'–' || c == u'—') && piece[at - 1] == u' ' && piece[at + 1] == u' ')
            dashes.append(at);
    }
    bool split = dashes.size() >= 2;
    for (qsizetype k = 0; !split && k < dashes.size(); ++k)
        split = startsOwnValue(trimmedView(piece.sliced(dashes[k] + 1)));
    if (!split) {
        out.append(piece);
        return;
    }
    qsizetype from = 0;
    for (qsizetype at : dashes) {
        out.append(trimmedView(piece.sliced(from, at - from)));
        from = at + 1;
    }
    out.append(trimmedView(piece.sliced(from)));
}

// Only these characters can part values: most are passed over at once.
inline bool mayCutAt(QChar c)
{
    const char16_t u = c.unicode();
    return u == u',' || u == u';' || u == u'|' || u == u'\t' || u == u'·' || u == u'•';
}

// Whether the line parts values at the character at (the end always parts).
bool cutsAt(QStringView line, qsizetype at, qsizetype from, bool oneLine)
{
    if (at == line.size())
        return true;
    const QChar c = line[at];
    if (c == u'\t') {
        // "Tel.:\t0711 ..." is one value; a tab between two values parts them.
        const QStringView before = trimmedView(line.sliced(from, at - from));
        return hasDigit(before) || before.size() >= 12;
    }
    if (c == u'|' || c == u'·' || c == u'•')
        return true;
    if (c != u',' && c != u';')
        return false;
    // A comma inside a number ("1,5") stays.
    if (at > 0 && at + 1 < line.size() && IsDigit09(line[at - 1]) && IsDigit09(line[at + 1]))
        return false;
    // "Müller, Meier & Partner" stays unless the text is one line.
    return oneLine || c == u';' || startsOwnValue(trimmedView(line.sliced(at + 1)));
}

// "Anna Gruber c/o Sommerfeld": the c/o starts a line of its own; a line of
// phone labels is cut before each.
void splitPiece(QStringView piece, QList<QStringView> &out)
{
    if (piece.size() > LongestValue) {
        out.append(piece); // dropped as it is sorted
        return;
    }
    const qsizetype co = FindText(piece, u" c/o ");
    if (co > 0) {
        splitPhoneLabels(trimmedView(piece.first(co)), out);
        splitPhoneLabels(trimmedView(piece.sliced(co + 1)), out);
    } else {
        splitPhoneLabels(piece, out);
    }
}

void splitLine(QStringView line, bool oneLine, QList<QStringView> &out)
{
    // "·", "|" and "•" always part values; a one-line text also parts at "," and ";".
    QVarLengthArray<QStringView, 16> pieces;
    qsizetype from = 0;
    for (qsizetype at = 0; at <= line.size(); ++at) {
        if (at < line.size() && !mayCutAt(line[at]))
            continue;
        if (!cutsAt(line, at, from, oneLine))
            continue;
        const QStringView piece = trimmedView(line.sliced(from, at - from));
        if (!piece.isEmpty())
            pieces.append(piece);
        from = at + 1;
    }
    QList<QStringView> dashed;
    dashed.reserve(pieces.size() + 4);
    for (QStringView piece : pieces) {
        if (piece.size() <= LongestValue && HasChar(piece, u' '))
            splitAtSpacedDashes(piece, dashed);
        else
            dashed.append(piece);
    }
    for (QStringView piece : dashed)
        splitPiece(piece, out);
}

// --- sorting one value line

// "die Geschäftsführerin Frau Dr. Eva Kranz": the name from its salutation or title on.
QStringView fromNameMarks(QStringView text)
{
    const QList<QStringView> words = text.split(u' ', Qt::SkipEmptyParts);
    for (QStringView word : words) {
        const bool mark =
            std::any_of(Salutations().begin(), Salutations().end(),
                        [word](const Salutation &s) { return SameText(word, s.text); }) ||
            (word.endsWith(u'.') && word.size() <= 6 && word[0].isUpper());
        if (mark)
            return text.sliced(word.data() - text.data());
    }
    return {};
}

bool isMobile(QStringView number)
{
    for (QStringView prefix : MobilePrefixes()) {
        if (StartsWithText(number, prefix))
            return true;
    }
    return false;
}

bool looksLikeWebAddress(QStringView s)
{
    if (StartsWithNoCase(s, u"www.") || StartsWithNoCase(s, u"http://") ||
        StartsWithNoCase(s, u"https://"))
        return !HasChar(s, u' ');
    const qsizetype dot = FindLastChar(s, u'.');
    if (HasChar(s, u' ') || dot <= 0 || s.size() - dot - 1 < 2 || s.size() - dot - 1 > 6)
        return false;
    return !any(s.sliced(dot + 1), [](QChar c) { return !c.isLetter(); }) &&
           hasLetter(s.first(dot));
}

QString webValue(QStringView s)
{
    QString value = CleanWebAddress(s.toString());
    for (QStringView scheme : {QStringView(u"https://"), QStringView(u"http://")}) {
        if (value.startsWith(scheme, Qt::CaseInsensitive))
            value.remove(0, scheme.size());
    }
    while (value.endsWith(u'/'))
        value.chop(1);
    return value;
}

// A phone line: a label and a number, or a number alone.
bool readPhone(QStringView line, QStringView lower, PhoneKind &kind, QString &number)
{
    QStringView rest = line;
    const PhoneLabel *label = phoneLabelAt(lower, 0);
    if (label != nullptr) {
        kind = label->kind;
        rest = line.sliced(label->text.size());
    } else {
        kind = PhoneKind::Telephone;
        const QChar first = line[0];
        if (!IsDigit09(first) && first != u'+' && first != u'(')
            return false;
    }
    // Only the number's characters and a few joiners may remain.
    int digits = 0;
    for (QChar c : rest) {
        if (IsDigit09(c))
            ++digits;
        else if (c.isLetter())
            return false;
    }
    if (digits < LeastPhoneDigits)
        return false;
    number = CleanPhone(rest.toString());
    // "Tel. 0711 12 / Fax ...": the joiner before the next value is no part of the number.
    while (number.endsWith(u'/') || number.endsWith(u'-'))
        number.chop(1);
    while (number.startsWith(u'/') || number.startsWith(u'-'))
        number.remove(0, 1);
    if (kind == PhoneKind::Telephone && isMobile(number))
        kind = PhoneKind::Mobile;
    return true;
}

QString withoutCompanyWord(QStringView line)
{
    // "Firma Lindqvist GmbH": the word "Firma" is no part of the name.
    if (StartsWithNoCase(line, u"firma "))
        return line.sliced(6).toString();
    return line.toString();
}

struct SortedLine;

class LineSorter
{
public:
    explicit LineSorter(Contact &contact) : m_contact(contact) {}
    void Sort(QStringView line);

private:
    bool takePerson(QStringView line, QStringView text, bool requireMarks, QStringView reason);
    void takeCompany(QStringView line, QStringView reason);
    void takeAddress(QStringView line, QStringView reason);
    void drop(QStringView line, QStringView reason) { explain(line, "nothing", reason); }
    bool takeEMail(const SortedLine &l);
    bool takeWebsite(const SortedLine &l);
    bool takeRole(const SortedLine &l);
    bool dropByRule(const SortedLine &l);
    bool takePhone(const SortedLine &l);
    bool takePlace(const SortedLine &l);
    bool takeCountry(const SortedLine &l);
    bool takeDepartment(const SortedLine &l);
    bool takeSalutation(const SortedLine &l);
    void sortByWords(const SortedLine &l);

    Contact &m_contact;
    Pending m_pending;
    bool m_contactSeen = false; // a phone, e-mail or web address came before
    bool m_imprint = false;     // an imprint's heading came before
};

bool LineSorter::takePerson(QStringView line, QStringView text, bool requireMarks,
                            QStringView reason)
{
    std::optional<PersonName> person = ReadPersonName(text, requireMarks);
    if (!person)
        return false;
    if (person->salutation.isEmpty())
        person->salutation = m_pending.salutation;
    m_pending.salutation.clear();
    // A name known only by its shape gives way to one with a salutation, a
    // title or a role; its line was then most likely the company's name.
    const bool weak = !requireMarks && !person->marked() && reason == ShapeOnly;
    if (m_contact.person && (!m_contact.personWeak || weak)) {
        drop(line, u"a further person");
        return true;
    }
    if (m_contact.person && m_contact.leftOver.isEmpty()) {
        explain(m_contact.personLine, "Firma", u"a name's shape that gave way to a surer name");
        m_contact.leftOver = m_contact.personLine;
    }
    explain(line, "Kontakt", reason);
    m_contact.person = std::move(person);
    m_contact.personWeak = weak;
    m_contact.personLine = line.toString();
    return true;
}

void LineSorter::takeCompany(QStringView line, QStringView reason)
{
    if (!m_contact.company.isEmpty())
        return drop(line, u"a further company");
    explain(line, "Firma", reason);
    m_contact.company = withoutCompanyWord(line);
}

void LineSorter::takeAddress(QStringView line, QStringView reason)
{
    if (m_contact.addressLines.contains(line))
        return drop(line, u"an address line given before");
    if (m_contact.addressLines.size() >= MostAddressLines)
        return drop(line, u"a fourth address line");
    explain(line, "Adresse", reason);
    m_contact.addressLines.append(line.toString());
}

// The line as each step sees it.
struct SortedLine
{
    QStringView line;
    QStringView lower;
    const CueText &cues;
    QStringView value; // without a leading label ("Anschrift: ...")
    bool roleLabel;    // the line before was a role label alone
};

bool LineSorter::takeEMail(const SortedLine &l)
{
    if (!HasChar(l.line, u'@'))
        return false;
    if (m_contact.email.isEmpty()) {
        explain(l.line, "eMail", u"an @");
        m_contact.email = CleanEMail(l.line.toString());
    }
    // "E: a@b.de Internet: www.b.de" holds the web address as well.
    const qsizetype web = FindText(l.lower, u"www.");
    if (web > 0 && m_contact.website.isEmpty() && !HasChar(l.lower.sliced(web), u'@')) {
        explain(l.line, "Website", u"a web address after the e-mail address");
        m_contact.website = webValue(l.line.sliced(web).split(u' ').first());
    }
    return true;
}

bool LineSorter::takeWebsite(const SortedLine &l)
{
    if (!looksLikeWebAddress(l.value))
        return false;
    if (m_contact.website.isEmpty()) {
        explain(l.line, "Website", u"a web address");
        m_contact.website = webValue(l.value);
    }
    return true;
}

bool LineSorter::takeRole(const SortedLine &l)
{
    const std::optional<QStringView> role = afterLabel(l.line, l.lower, RoleLabels(), false);
    if (!role)
        return false;
    if (role->isEmpty()) {
        m_pending.roleLabel = true;
        drop(l.line, u"a role label");
    } else if (m_contactSeen && !m_imprint) {
        // A manager named in a letter's footer is not whom the letter is from;
        // in an imprint the first owner or representative is the contact.
        drop(l.line, u"a role named after the contact data");
    } else if (!takePerson(l.line, *role, false, u"a person named after a role") &&
               !takePerson(l.line, fromNameMarks(*role), true, u"a person named after a role")) {
        drop(l.line, u"a role without a name");
    }
    return true;
}

bool LineSorter::dropByRule(const SortedLine &l)
{
    const DropRule *rule = FindDropRule(l.cues);
    if (rule == nullptr)
        return false;
    m_imprint = m_imprint || rule->imprintHeading;
    drop(l.line, rule->reason);
    return true;
}

bool LineSorter::takePhone(const SortedLine &l)
{
    PhoneKind kind = PhoneKind::Telephone;
    QString number;
    // "Kontakt: Telefon: ...": the number after the label.
    if (!readPhone(l.line, l.lower, kind, number)) {
        if (l.value.size() == l.line.size() || l.value.isEmpty() ||
            !readPhone(l.value, LowerLine(l.value), kind, number))
            return false;
    }
    if (kind == PhoneKind::Telephone && m_contact.telephones.size() < MostTelephones) {
        explain(l.line, "Telefon", u"a number");
        m_contact.telephones.append(number);
    } else if (kind == PhoneKind::Fax && m_contact.fax.isEmpty()) {
        explain(l.line, "Fax", u"a fax label");
        m_contact.fax = number;
    } else if (kind == PhoneKind::Mobile && m_contact.mobile.isEmpty()) {
        explain(l.line, "Mobil", u"a mobile label or network");
        m_contact.mobile = number;
    }
    return true;
}

bool LineSorter::takePlace(const SortedLine &l)
{
    const std::optional<PostcodeCity> place = readPostcodeCity(l.value);
    if (!place)
        return false;
    if (!m_contact.postcode.isEmpty())
        return true;
    explain(l.line, "PLZ/Ort", u"a postcode and a city");
    m_contact.postcode = place->postcode.toString();
    m_contact.city = place->city.toString();
    for (const CountryPrefixRule &prefix : PostcodePrefixes()) {
        if (SameText(prefix.prefix.chopped(1), place->prefix))
            m_contact.postcodeCountry = prefix.stored.toString();
    }
    return true;
}

bool LineSorter::takeCountry(const SortedLine &l)
{
    for (const CountryName &country : CountryNames()) {
        if (SameText(trimmedView(l.lower), country.written)) {
            explain(l.line, "Land", u"a country");
            if (m_contact.country.isEmpty())
                m_contact.country = country.stored.toString();
            return true;
        }
    }
    return false;
}

bool LineSorter::takeDepartment(const SortedLine &l)
{
    if (FindCue(l.cues, DepartmentCues()) == nullptr || hasDigit(l.line))
        return false;
    if (m_contact.department.isEmpty()) {
        explain(l.line, "Abteilung", u"a department");
        m_contact.department = l.line.toString();
    }
    return true;
}

bool LineSorter::takeSalutation(const SortedLine &l)
{
    const QStringView salutation = SalutationAlone(l.line);
    if (salutation.isEmpty())
        return false;
    m_pending.salutation = salutation.toString();
    drop(l.line, u"a salutation for the next line");
    return true;
}

// Names, streets, companies and job titles: told apart by their words.
void LineSorter::sortByWords(const SortedLine &l)
{
    const bool legalForm = FindCue(l.cues, LegalForms()) != nullptr;
    const bool business = legalForm || FindCue(l.cues, BusinessWords()) != nullptr;
    // A salutation on the line before makes the line a name, whatever its words.
    const bool nameExpected = !m_pending.salutation.isEmpty() || (l.roleLabel && !business);
    if (takePerson(l.line, l.line, !nameExpected, u"a salutation or title"))
        return;
    if (isStreet(l.value, business))
        return takeAddress(l.value, u"a street and house number");
    if (legalForm)
        return takeCompany(l.line, u"a legal form");
    if (FindCue(l.cues, JobTitleWords()) != nullptr)
        return drop(l.line, u"a job title");
    if (business)
        return takeCompany(l.line, u"a business word");
    if (!m_contact.person && takePerson(l.line, l.line, false, ShapeOnly))
        return;
    if (m_contact.leftOver.isEmpty() && hasLetter(l.line)) {
        explain(l.line, "Firma", u"the first line left over, unless a line names a business");
        m_contact.leftOver = withoutCompanyWord(l.line);
        return;
    }
    drop(l.line, u"nothing it could be");
}

void LineSorter::Sort(QStringView line)
{
    if (line.size() > LongestValue)
        return drop(line.first(LongestValue), u"too long for an address line");
    if (!any(line, [](QChar c) { return c.isLetterOrNumber(); }))
        return drop(line, u"a rule");
    const LowerLine lowerText(line);
    const QStringView lower = lowerText;
    const CueText cueText(lower);
    const std::optional<QStringView> labelled = afterLabel(line, lower, ValueLabels());
    const SortedLine sorted{line, lower, cueText, labelled ? *labelled : line,
                            std::exchange(m_pending.roleLabel, false)};
    m_contactSeen = !m_contact.email.isEmpty() || !m_contact.website.isEmpty() ||
                    !m_contact.telephones.isEmpty() || !m_contact.fax.isEmpty() ||
                    !m_contact.mobile.isEmpty();
    // In this order: an earlier step knows a line a later one would misread.
    const std::initializer_list<bool (LineSorter::*)(const SortedLine &)> steps = {
        &LineSorter::takeEMail,   &LineSorter::takeWebsite,    &LineSorter::takeRole,
        &LineSorter::dropByRule,  &LineSorter::takePhone,      &LineSorter::takePlace,
        &LineSorter::takeCountry, &LineSorter::takeDepartment,
    };
    for (const auto step : steps) {
        if ((this->*step)(sorted))
            return;
    }
    if (FindCue(cueText, PostBoxCues()) != nullptr)
        return takeAddress(line, u"a post-office box or c/o");
    if (!takeSalutation(sorted))
        sortByWords(sorted);
}

// --- the country

QString countryOf(const Contact &contact, const Settings &settings)
{
    if (!contact.country.isEmpty())
        return contact.country;
    if (!contact.postcodeCountry.isEmpty())
        return contact.postcodeCountry;
    if (contact.postcode.size() == 5)
        return settings.StandardLand5PLZ;
    // Four digits: Austria unless the block shows Switzerland or Liechtenstein.
    const int code = contact.postcode.toInt();
    if (code >= 9485 && code <= 9498)
        return QStringLiteral("Liechtenstein");
    const QString city = contact.city.toLower();
    for (const CountrySign &sign : FourDigitCities()) {
        if (city == sign.text || (city.startsWith(sign.text) && city.size() > sign.text.size() &&
                                  city[sign.text.size()] == u' '))
            return sign.stored.toString();
    }
    QStringList numbers = contact.telephones;
    numbers << contact.fax << contact.mobile;
    for (const QString &number : numbers) {
        for (const CountrySign &sign : PhoneCountryPrefixes()) {
            if (number.startsWith(sign.text))
                return sign.stored.toString();
        }
    }
    for (const QString &address : {contact.email, contact.website}) {
        QStringView domain = address;
        const qsizetype slash = domain.indexOf(u'/');
        if (slash >= 0)
            domain = domain.first(slash);
        for (const CountrySign &sign : DomainCountries()) {
            if (domain.endsWith(sign.text, Qt::CaseInsensitive))
                return sign.stored.toString();
        }
    }
    return settings.StandardLand4PLZ;
}

// --- the rows

class RowFiller
{
public:
    explicit RowFiller(FieldRows &rows) : m_rows(rows) {}
    void Put(qint32 field, const QString &value)
    {
        if (value.isEmpty() || m_next >= FieldRows::RowCount)
            return;
        const int position = m_rows.PositionOfField(field);
        if (position < 0)
            return;
        m_rows.SetRowValue(m_next, value);
        m_rows.SelectRowPosition(m_next, position);
        ++m_next;
    }

private:
    FieldRows &m_rows;
    int m_next = 0;
};

// "0676 ..." in an Austrian block, "079 ..." in a Swiss one: a mobile number
// written as dialled inside the country.
void takeLocalMobile(Contact &contact, QStringView country)
{
    if (!contact.mobile.isEmpty())
        return;
    for (qsizetype k = 0; k < contact.telephones.size(); ++k) {
        for (const CountrySign &sign : LocalMobilePrefixes()) {
            if (sign.stored == country && contact.telephones[k].startsWith(sign.text)) {
                explain(contact.telephones[k], "Mobil", u"a mobile network of the country");
                contact.mobile = contact.telephones.takeAt(k);
                return;
            }
        }
    }
}

void fillRows(Contact contact, FieldRows &rows, const Settings &settings)
{
    namespace Field = ActField;
    const QString country = contact.postcode.isEmpty() ? QString() : countryOf(contact, settings);
    takeLocalMobile(contact, country);
    RowFiller out(rows);
    if (contact.person) {
        out.Put(Field::Anrede, contact.person->salutation);
        out.Put(Field::Titel, contact.person->title);
        out.Put(Field::Kontakt, contact.person->name);
        out.Put(Field::Vorname, contact.person->firstName);
        out.Put(Field::Nachname, contact.person->lastName);
    }
    out.Put(Field::Firma, contact.company.isEmpty() ? contact.leftOver : contact.company);
    out.Put(Field::Abteilung, contact.department);
    const qint32 addressFields[] = {Field::Adresse, Field::Adresse2, Field::Adresse3};
    for (qsizetype k = 0; k < contact.addressLines.size(); ++k)
        out.Put(addressFields[k], contact.addressLines[k]);
    out.Put(Field::PLZ, contact.postcode);
    out.Put(Field::Ort, contact.city);
    // A country belongs to a postal address only.
    out.Put(Field::Land, country);
    const qint32 telephoneFields[] = {Field::Telefon, Field::Telefon2, Field::Telefon3};
    for (qsizetype k = 0; k < contact.telephones.size(); ++k)
        out.Put(telephoneFields[k], contact.telephones[k]);
    out.Put(Field::Fax, contact.fax);
    out.Put(Field::Mobil, contact.mobile);
    out.Put(Field::EMail, contact.email);
    out.Put(Field::Website, contact.website);
}

// The text with line feeds only; a text of one line is cut at its separators later.
QString withLineFeeds(const QString &text, bool &oneLine)
{
    QString out;
    if (FindText(text, u"\r") < 0) {
        out = text;
    } else {
        // "\r\n" and a lone "\r" each become one "\n", in one pass.
        out.resize(text.size());
        QChar *to = out.data();
        for (qsizetype k = 0; k < text.size(); ++k) {
            if (text[k] == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n')
                continue;
            *to++ = text[k] == u'\r' ? QChar(u'\n') : text[k];
        }
        out.truncate(to - out.data());
    }
    oneLine = !QStringView(out).trimmed().contains(u'\n');
    return out;
}

} // namespace

void ParseImproved(RecognitionContext &context, const QString &text, FieldRows &rows,
                   QString &clipText)
{
    bool oneLine = false;
    QString working = withLineFeeds(text, oneLine);
    QString separator = QStringLiteral("\n");
    if (!context.UserSeparator.isEmpty()) {
        separator = context.UserSeparator;
        oneLine = false;
    }
    LineList lines = SplitIntoLines(working, separator, clipText);
    ApplyUserDefinitions(lines, context);

    Contact contact;
    LineSorter sorter(contact);
    QList<QStringView> values;
    for (const CapturedLine &line : lines) {
        values.clear();
        splitLine(line.Text, oneLine, values);
        for (QStringView value : values)
            sorter.Sort(value);
    }
    fillRows(std::move(contact), rows, context.settings);
}
