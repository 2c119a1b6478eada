#pragma once

#include <QString>
#include <QStringView>

#include <initializer_list>
#include <vector>

// Which characters and which pairs of adjacent characters occur in a text,
// each folded into 64 bits: a keyword whose summary is not contained in the
// line's cannot occur in it, so most keywords are ruled out without searching.
struct TextSummary
{
    quint64 characters = 0;
    quint64 pairs = 0;

    bool MayContain(const TextSummary &other) const
    {
        return (characters & other.characters) == other.characters &&
               (pairs & other.pairs) == other.pairs;
    }
};

namespace KeywordDetail {
// Bits of the characters the keywords use; everything else shares the
// remaining bits, so a set bit only says "maybe".
struct CharacterBits
{
    quint64 ascii[128];
    char16_t upper[128];
    constexpr CharacterBits() : ascii(), upper()
    {
        for (int c = 0; c < 128; ++c)
            upper[c] = char16_t(c >= 'a' && c <= 'z' ? c - 32 : c);
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
inline constexpr CharacterBits Bits;
} // namespace KeywordDetail

inline quint64 CharacterBit(char16_t c)
{
    return c < 128 ? KeywordDetail::Bits.ascii[c] : quint64(1) << (33 + c % 31);
}
inline quint64 PairBit(char16_t previous, char16_t current)
{
    return quint64(1) << ((previous * 7u + current) & 63u);
}
TextSummary Summarise(QStringView upper);
// Upper-cases source into dest (source.size() characters) and summarises it, in one pass.
TextSummary UpperCopySummarised(QStringView source, QChar *dest);

// A line upper-cased once, with its summary.
struct UpperLine
{
    QStringView text;
    TextSummary summary;
};

// A list of keywords, kept upper-cased once for matching against upper-cased lines.
class KeywordList
{
public:
    KeywordList(std::initializer_list<const char16_t *> words);

    bool AnyContainedIn(const UpperLine &line) const;
    bool AnyStartsOf(QStringView upper) const;
    bool AnyEndsOf(QStringView upper) const;

private:
    struct Keyword
    {
        QString upper;
        TextSummary summary;
    };
    std::vector<Keyword> m_words;
    quint64 m_firstCharacters = 0;
};

// The strings compared here are a few characters long: a plain loop beats the
// set-up cost of the general string search and of memcmp.
inline bool SameCharacters(const char16_t *a, const char16_t *b, qsizetype length)
{
    for (qsizetype i = 0; i < length; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

bool ContainsExact(QStringView haystack, QStringView needle);

inline qsizetype IndexOfCharacter(QStringView text, char16_t c, qsizetype from = 0)
{
    const char16_t *data = text.utf16();
    for (qsizetype i = from; i < text.size(); ++i) {
        if (data[i] == c)
            return i;
    }
    return -1;
}

inline bool StartsWithExact(QStringView s, QStringView prefix)
{
    return s.size() >= prefix.size() && SameCharacters(s.utf16(), prefix.utf16(), prefix.size());
}

inline bool EndsWithExact(QStringView s, QStringView suffix)
{
    return s.size() >= suffix.size() &&
           SameCharacters(s.utf16() + (s.size() - suffix.size()), suffix.utf16(), suffix.size());
}
