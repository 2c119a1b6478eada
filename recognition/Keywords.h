#pragma once

#include <QString>
#include <QStringView>

#include <initializer_list>
#include <vector>

// Which characters and which pairs of adjacent characters an upper-cased text
// holds, each folded into 64 bits. A keyword whose summary the line's does not
// cover cannot occur in it, so most keywords are ruled out without a search:
// this halves the time of scoring a line.
struct TextSummary
{
    quint64 characters = 0;
    quint64 pairs = 0;

    static quint64 CharacterBit(char16_t c) { return quint64(1) << (c & 63u); }
    static quint64 PairBit(char16_t first, char16_t second)
    {
        return quint64(1) << ((first * 7u + second) & 63u);
    }
    static TextSummary Of(QStringView upper);
    // Upper-cases text in place and summarises the result, in one pass over a
    // line where two would read it twice.
    static TextSummary OfUpperCased(QChar *text, qsizetype size);
    bool MayContain(const TextSummary &part) const
    {
        return (characters & part.characters) == part.characters &&
               (pairs & part.pairs) == part.pairs;
    }
};

// A list of keywords, kept upper-cased once for matching against upper-cased lines.
class KeywordList
{
public:
    KeywordList(std::initializer_list<const char16_t *> words);

    // summary: of upper or of any text that holds it.
    bool AnyContainedIn(QStringView upper, const TextSummary &summary) const;
    bool AnyStartsOf(QStringView upper) const;
    bool AnyEndsOf(QStringView upper) const;

private:
    struct Keyword
    {
        QString upper;
        TextSummary summary;
    };
    std::vector<Keyword> m_words;
    // Most lines neither begin nor end with a keyword's first or last character:
    // these rule them out at once.
    quint64 m_firstCharacters = 0;
    quint64 m_lastCharacters = 0;
};
