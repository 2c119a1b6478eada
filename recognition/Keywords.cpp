#include "Keywords.h"

#include "TextOps.h"

#include <algorithm>

// Upper-case letters, digits and the marks the keywords use each get a bit of
// their own; other characters share them, which only lets a keyword through.
TextSummary TextSummary::Of(QStringView upper)
{
    TextSummary summary;
    if (upper.isEmpty())
        return summary;
    char16_t previous = upper.front().unicode();
    summary.characters = CharacterBit(previous);
    for (const QChar c : upper.sliced(1)) {
        summary.characters |= CharacterBit(c.unicode());
        summary.pairs |= PairBit(previous, c.unicode());
        previous = c.unicode();
    }
    return summary;
}

TextSummary TextSummary::OfUpperCased(QChar *text, qsizetype size)
{
    TextSummary summary;
    if (size == 0)
        return summary;
    text[0] = UpperChar(text[0]);
    char16_t previous = text[0].unicode();
    summary.characters = CharacterBit(previous);
    for (qsizetype i = 1; i < size; ++i) {
        text[i] = UpperChar(text[i]);
        const char16_t c = text[i].unicode();
        summary.characters |= CharacterBit(c);
        summary.pairs |= PairBit(previous, c);
        previous = c;
    }
    return summary;
}

KeywordList::KeywordList(std::initializer_list<const char16_t *> words)
{
    m_words.reserve(words.size());
    for (const char16_t *word : words) {
        const QString upper = UpperText(QStringView(word));
        m_words.push_back({upper, TextSummary::Of(upper)});
        m_firstCharacters |= TextSummary::CharacterBit(upper.front().unicode());
        m_lastCharacters |= TextSummary::CharacterBit(upper.back().unicode());
    }
}

bool KeywordList::AnyContainedIn(QStringView upper, const TextSummary &summary) const
{
    // Many lines end up empty once labels and details names are taken off.
    if (upper.isEmpty())
        return false;
    for (const Keyword &word : m_words) {
        if (summary.MayContain(word.summary) && FindText(upper, word.upper) >= 0)
            return true;
    }
    return false;
}

bool KeywordList::AnyStartsOf(QStringView upper) const
{
    if (upper.isEmpty() ||
        (m_firstCharacters & TextSummary::CharacterBit(upper.front().unicode())) == 0)
        return false;
    const std::u16string_view line = StandardView(upper);
    return std::any_of(m_words.begin(), m_words.end(), [line](const Keyword &word) {
        return line.starts_with(StandardView(word.upper));
    });
}

bool KeywordList::AnyEndsOf(QStringView upper) const
{
    if (upper.isEmpty() ||
        (m_lastCharacters & TextSummary::CharacterBit(upper.back().unicode())) == 0)
        return false;
    const std::u16string_view line = StandardView(upper);
    return std::any_of(m_words.begin(), m_words.end(), [line](const Keyword &word) {
        return line.ends_with(StandardView(word.upper));
    });
}
