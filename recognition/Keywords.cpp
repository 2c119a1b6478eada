#include "Keywords.h"

#include "TextOps.h"

namespace {

// Bits of the characters the keywords use; everything else shares the
// remaining bits, so a set bit only says "maybe".
struct CharacterBits
{
    quint64 ascii[128];
    constexpr CharacterBits() : ascii()
    {
        for (int c = 0; c < 128; ++c)
            ascii[c] = quint64(1) << (33 + c % 31);
        for (int c = 'A'; c <= 'Z'; ++c)
            ascii[c] = quint64(1) << (c - 'A');
        for (int c = 'a'; c <= 'z'; ++c)
            ascii[c] = quint64(1) << (c - 'a');
        for (int c = '0'; c <= '9'; ++c)
            ascii[c] = quint64(1) << 26;
        ascii[int(' ')] = quint64(1) << 27;
        ascii[int('.')] = quint64(1) << 28;
        ascii[int('-')] = quint64(1) << 29;
        ascii[int('@')] = quint64(1) << 30;
        ascii[int(':')] = quint64(1) << 31;
        ascii[int('/')] = quint64(1) << 32;
    }
};
constexpr CharacterBits Bits;

} // namespace

quint64 CharacterBit(char16_t c)
{
    return c < 128 ? Bits.ascii[c] : quint64(1) << (33 + c % 31);
}

namespace {

inline quint64 bitOf(char16_t u)
{
    return u < 128 ? Bits.ascii[u] : quint64(1) << (33 + u % 31);
}

} // namespace

TextSummary Summarise(QStringView upper)
{
    TextSummary summary;
    char16_t previous = 0;
    for (qsizetype i = 0; i < upper.size(); ++i) {
        const char16_t u = upper[i].unicode();
        summary.characters |= bitOf(u);
        if (i > 0)
            summary.pairs |= PairBit(previous, u);
        previous = u;
    }
    return summary;
}

TextSummary UpperCopySummarised(QStringView source, QChar *dest)
{
    TextSummary summary;
    char16_t previous = 0;
    for (qsizetype i = 0; i < source.size(); ++i) {
        char16_t u = source[i].unicode();
        if (u < 0x80) {
            if (u >= u'a' && u <= u'z')
                u -= 32;
        } else {
            u = QChar(u).toUpper().unicode();
        }
        dest[i] = QChar(u);
        summary.characters |= bitOf(u);
        if (i > 0)
            summary.pairs |= PairBit(previous, u);
        previous = u;
    }
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
