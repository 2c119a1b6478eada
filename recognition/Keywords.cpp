#include "Keywords.h"

#include "TextOps.h"

TextSummary Summarise(QStringView upper)
{
    TextSummary summary;
    char16_t previous = 0;
    for (qsizetype i = 0; i < upper.size(); ++i) {
        const char16_t u = upper[i].unicode();
        summary.characters |= CharacterBit(u);
        if (i > 0)
            summary.pairs |= PairBit(previous, u);
        previous = u;
    }
    return summary;
}

TextSummary UpperCopySummarised(QStringView source, QChar *dest)
{
    TextSummary summary;
    const qsizetype size = source.size();
    if (size == 0)
        return summary;
    const char16_t *in = source.utf16();
    char16_t *out = reinterpret_cast<char16_t *>(dest);
    quint64 characters = 0;
    quint64 pairs = 0;
    char16_t previous = 0;
    for (qsizetype i = 0; i < size; ++i) {
        char16_t u = in[i];
        if (u < 0x80) {
            u = KeywordDetail::Bits.upper[u];
            characters |= KeywordDetail::Bits.ascii[u];
        } else {
            u = QChar(u).toUpper().unicode();
            characters |= CharacterBit(u);
        }
        out[i] = u;
        pairs |= PairBit(previous, u);
        previous = u;
    }
    // The pair of the first character with the 0 before it is one bit too many:
    // harmless, a summary may only say "maybe".
    summary.characters = characters;
    summary.pairs = pairs;
    return summary;
}

bool ContainsExact(QStringView haystack, QStringView needle)
{
    const qsizetype m = needle.size();
    const qsizetype n = haystack.size();
    if (m == 0)
        return n > 0;
    if (m > n)
        return false;
    const char16_t *h = haystack.utf16();
    const char16_t *k = needle.utf16();
    const char16_t first = k[0];
    for (qsizetype i = 0; i + m <= n; ++i) {
        if (h[i] == first && SameCharacters(h + i + 1, k + 1, m - 1))
            return true;
    }
    return false;
}

KeywordList::KeywordList(std::initializer_list<const char16_t *> words)
{
    m_words.reserve(words.size());
    for (const char16_t *word : words) {
        const QString upper = UpperText(QStringView(word));
        m_words.push_back({upper, Summarise(upper)});
        if (!upper.isEmpty())
            m_firstCharacters |= CharacterBit(upper[0].unicode());
    }
}

bool KeywordList::AnyContainedIn(const UpperLine &line) const
{
    if (line.text.isEmpty())
        return false;
    for (const Keyword &word : m_words) {
        if (line.summary.MayContain(word.summary) && ContainsExact(line.text, word.upper))
            return true;
    }
    return false;
}

bool KeywordList::AnyStartsOf(QStringView upper) const
{
    if (upper.isEmpty() || (m_firstCharacters & CharacterBit(upper[0].unicode())) == 0)
        return false;
    for (const Keyword &word : m_words) {
        if (StartsWithExact(upper, word.upper))
            return true;
    }
    return false;
}

bool KeywordList::AnyEndsOf(QStringView upper) const
{
    for (const Keyword &word : m_words) {
        if (EndsWithExact(upper, word.upper))
            return true;
    }
    return false;
}
