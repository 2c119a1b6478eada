#include "Keywords.h"

#include "TextOps.h"

KeywordList::KeywordList(std::initializer_list<const char16_t *> words)
{
    m_upper.reserve(words.size());
    for (const char16_t *word : words)
        m_upper.push_back(UpperText(QStringView(word)));
}

bool KeywordList::AnyContainedIn(QStringView upper) const
{
    if (upper.isEmpty())
        return false;
    for (const QString &word : m_upper) {
        if (upper.contains(word))
            return true;
    }
    return false;
}

bool KeywordList::AnyStartsOf(QStringView upper) const
{
    for (const QString &word : m_upper) {
        if (upper.startsWith(word))
            return true;
    }
    return false;
}

bool KeywordList::AnyEndsOf(QStringView upper) const
{
    for (const QString &word : m_upper) {
        if (upper.endsWith(word))
            return true;
    }
    return false;
}
