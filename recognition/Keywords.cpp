#include "Keywords.h"

#include "TextOps.h"

#include <algorithm>

KeywordList::KeywordList(std::initializer_list<const char16_t *> words)
{
    m_words.reserve(words.size());
    for (const char16_t *word : words)
        m_words.push_back(UpperText(QStringView(word)));
}

bool KeywordList::AnyContainedIn(QStringView upper) const
{
    return std::any_of(m_words.begin(), m_words.end(),
                       [upper](const QString &word) { return upper.contains(word); });
}

bool KeywordList::AnyStartsOf(QStringView upper) const
{
    return std::any_of(m_words.begin(), m_words.end(),
                       [upper](const QString &word) { return upper.startsWith(word); });
}

bool KeywordList::AnyEndsOf(QStringView upper) const
{
    return std::any_of(m_words.begin(), m_words.end(),
                       [upper](const QString &word) { return upper.endsWith(word); });
}
