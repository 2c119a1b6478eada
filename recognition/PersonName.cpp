#include "PersonName.h"

#include "ImprovedRules.h"

#include <QVarLengthArray>

namespace {

constexpr int MostNameWords = 4;

bool isNameWord(QStringView word)
{
    if (word.isEmpty() || !word[0].isUpper())
        return false;
    for (QChar c : word) {
        if (!c.isLetter() && c != u'-' && c != u'\'' && c != u'.')
            return false;
    }
    return true;
}

bool isParticle(QStringView word)
{
    for (QStringView particle : NameParticles()) {
        if (SameText(word, particle))
            return true;
    }
    return false;
}

bool isTitleWord(QStringView word)
{
    if (word.startsWith(u'(') && word.endsWith(u')'))
        return true; // "(FH)"
    QStringView bare = word;
    while (bare.endsWith(u'.'))
        bare.chop(1);
    for (QStringView title : TitleWords()) {
        if (SameText(bare, title))
            return true;
    }
    for (QStringView start : TitleBeginnings()) {
        if (StartsWithText(word, start))
            return true;
    }
    // The parts of a doctor's title: "rer.", "nat.", "med.", "iur.".
    return word.size() >= 3 && word.size() <= 8 && word.endsWith(u'.') && word[0].isLower();
}

QStringView withoutLeadIn(QStringView text)
{
    // Every lead-in starts with one of these letters.
    if (text.isEmpty() || !HasChar(u"zZiIpPaA", text[0].unicode()))
        return text;
    const LowerLine lower(text);
    for (const Cue &cue : NameLeadIns()) {
        if (StartsWithText(lower, cue.text))
            return text.sliced(cue.text.size()).trimmed();
    }
    return text;
}

// A role or remark after the name: "Reto Pfister, Geschäftsführer", "Georg Frick (Präsident)".
QStringView withoutTail(QStringView text)
{
    const qsizetype comma = FindChar(text, u',');
    if (comma > 0)
        text = text.first(comma);
    const qsizetype bracket = FindChar(text, u'(');
    if (bracket > 0 && FindChar(text, u')', bracket) > 0) {
        // "(FH)" inside the titles stays; a bracket after the name goes.
        const QStringView inside = text.sliced(bracket);
        if (!isTitleWord(inside.first(FindChar(inside, u')') + 1)) || bracket > text.size() / 2)
            text = text.first(bracket);
    }
    return text.trimmed();
}

} // namespace

QStringView SalutationAlone(QStringView text)
{
    text = withoutLeadIn(text.trimmed());
    for (const Salutation &s : Salutations()) {
        if (SameText(text, s.text))
            return s.stored;
    }
    return {};
}

namespace {

using Words = QVarLengthArray<QStringView, 12>;

Words wordsOf(QStringView text)
{
    Words words;
    for (qsizetype at = 0; at < text.size();) {
        if (text[at] == u' ') {
            ++at;
            continue;
        }
        const qsizetype start = at;
        while (at < text.size() && text[at] != u' ')
            ++at;
        words.append(text.sliced(start, at - start));
    }
    return words;
}

// The text from the start of first to the end of last (words of text).
QString span(QStringView text, QStringView first, QStringView last)
{
    return text.sliced(first.data() - text.data(), last.data() + last.size() - first.data())
        .toString();
}

// Salutation and titles from the front of words; returns where the name starts.
qsizetype readMarks(QStringView text, const Words &words, PersonName &person)
{
    qsizetype at = 0;
    for (const Salutation &s : Salutations()) {
        if (!words.isEmpty() && SameText(words[0], s.text)) {
            person.salutation = s.stored.toString();
            at = 1;
            break;
        }
    }
    const qsizetype titleStart = at;
    while (at < words.size() - 1 && isTitleWord(words[at]))
        ++at;
    if (at > titleStart)
        person.title = span(text, words[titleStart], words[at - 1]);
    return at;
}

bool isName(const Words &words, qsizetype at)
{
    for (qsizetype k = at; k < words.size(); ++k) {
        if (!isNameWord(words[k]) && !(k > at && k < words.size() - 1 && isParticle(words[k])))
            return false;
    }
    return true;
}

} // namespace

std::optional<PersonName> ReadPersonName(QStringView text, bool requireMarks)
{
    text = withoutTail(withoutLeadIn(text.trimmed()));
    const Words words = wordsOf(text);
    PersonName person;
    const qsizetype at = readMarks(text, words, person);
    const qsizetype nameWords = words.size() - at;
    if (nameWords < 1 || nameWords > MostNameWords || (requireMarks && !person.marked()) ||
        (!person.marked() && nameWords < 2) || !isName(words, at))
        return std::nullopt;
    person.name = span(text, words[at], words.back());
    // The last word is the last name, with the particles before it.
    qsizetype lastStart = words.size() - 1;
    while (lastStart - 1 > at && isParticle(words[lastStart - 1]))
        --lastStart;
    person.lastName = span(text, words[lastStart], words.back());
    if (lastStart > at)
        person.firstName = span(text, words[at], words[lastStart - 1]);
    return person;
}
