#include "Keywords.h"

#include "TextOps.h"

#include <algorithm>

// Upper-case letters, digits and the marks the keywords use each get a bit of
// their own; other characters share them, which only lets a keyword through.
TextSummary TextSummary::Of(QStringView upper)
{
    TextSummary summary;
    for (qsizetype i = 0; i < upper.size(); ++i) {
        const char16_t c = upper[i].unicode();
        summary.characters |= quint64(1) << (c & 63u);
        if (i > 0)
            summary.pairs |= quint64(1) << ((upper[i - 1].unicode() * 7u + c) & 63u);
    }
    return summary;
}

KeywordList::KeywordList(std::initializer_list<const char16_t *> words)
{
    m_words.reserve(words.size());
    for (const char16_t *word : words) {
        const QString upper = UpperText(QStringView(word));
        m_words.push_back({upper, TextSummary::Of(upper)});
    }
}

bool KeywordList::AnyContainedIn(QStringView upper, const TextSummary &summary) const
{
    return std::any_of(m_words.begin(), m_words.end(), [&](const Keyword &word) {
        return summary.MayContain(word.summary) && FindText(upper, word.upper) >= 0;
    });
}

bool KeywordList::AnyStartsOf(QStringView upper) const
{
    const std::u16string_view line = StandardView(upper);
    return std::any_of(m_words.begin(), m_words.end(), [line](const Keyword &word) {
        return line.starts_with(StandardView(word.upper));
    });
}

bool KeywordList::AnyEndsOf(QStringView upper) const
{
    const std::u16string_view line = StandardView(upper);
    return std::any_of(m_words.begin(), m_words.end(), [line](const Keyword &word) {
        return line.ends_with(StandardView(word.upper));
    });
}
