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
    if (text.isEmpty() || !QStringView(u"zZiIpPaA").contains(text[0]))
        return text;
    const QString lower = LowerText(text);
    for (const Cue &cue : NameLeadIns()) {
        if (StartsWithText(lower, cue.text))
            return text.sliced(cue.text.size()).trimmed();
    }
    return text;
}

// A role or remark after the name: "Reto Pfister, Geschäftsführer", "Georg Frick (Präsident)".
QStringView withoutTail(QStringView text)
{
    const qsizetype comma = text.indexOf(u',');
    if (comma > 0)
        text = text.first(comma);
    const qsizetype bracket = text.indexOf(u'(');
    if (bracket > 0 && text.indexOf(u')', bracket) > 0) {
        // "(FH)" inside the titles stays; a bracket after the name goes.
        const QStringView inside = text.sliced(bracket);
        if (!isTitleWord(inside.first(inside.indexOf(u')') + 1)) || bracket > text.size() / 2)
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

std::optional<PersonName> ReadPersonName(QStringView text, bool requireMarks)
{
    text = withoutTail(withoutLeadIn(text.trimmed()));
    QVarLengthArray<QStringView, 12> words;
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
    PersonName person;
    qsizetype at = 0;
    if (!words.isEmpty()) {
        for (const Salutation &s : Salutations()) {
            if (SameText(words[0], s.text)) {
                person.salutation = s.stored.toString();
                at = 1;
                break;
            }
        }
    }
    const qsizetype titleStart = at;
    while (at < words.size() - 1 && isTitleWord(words[at]))
        ++at;
    if (at > titleStart) {
        const QStringView first = words[titleStart];
        const QStringView last = words[at - 1];
        person.title =
            text.sliced(first.data() - text.data(), last.data() + last.size() - first.data())
                .toString();
    }
    const qsizetype nameWords = words.size() - at;
    if (nameWords < 1 || nameWords > MostNameWords)
        return std::nullopt;
    if (requireMarks && !person.marked())
        return std::nullopt;
    if (!person.marked() && nameWords < 2)
        return std::nullopt;
    for (qsizetype k = at; k < words.size(); ++k) {
        if (!isNameWord(words[k]) && !(k > at && k < words.size() - 1 && isParticle(words[k])))
            return std::nullopt;
    }
    const QStringView firstWord = words[at];
    const QStringView lastWord = words.back();
    person.name = text.sliced(firstWord.data() - text.data(),
                              lastWord.data() + lastWord.size() - firstWord.data())
                      .toString();
    // The last word is the last name, with the particles before it.
    qsizetype lastStart = words.size() - 1;
    while (lastStart - 1 > at && isParticle(words[lastStart - 1]))
        --lastStart;
    const QStringView lastFirst = words[lastStart];
    person.lastName = text.sliced(lastFirst.data() - text.data(),
                                  lastWord.data() + lastWord.size() - lastFirst.data())
                          .toString();
    if (lastStart > at) {
        const QStringView before = words[lastStart - 1];
        person.firstName = text.sliced(firstWord.data() - text.data(),
                                       before.data() + before.size() - firstWord.data())
                               .toString();
    }
    return person;
}
