#include "Keywords.h"

#include "TextOps.h"

#include <algorithm>
#include <string_view>

namespace {
std::u16string_view standardView(QStringView text)
{
    return {text.utf16(), size_t(text.size())};
}
} // namespace

KeywordList::KeywordList(std::initializer_list<const char16_t *> words)
{
    m_words.reserve(words.size());
    for (const char16_t *word : words)
        m_words.push_back(UpperText(QStringView(word)).toStdU16String());
}

bool KeywordList::AnyContainedIn(QStringView upper) const
{
    const std::u16string_view line = standardView(upper);
    return std::any_of(m_words.begin(), m_words.end(), [line](const std::u16string &word) {
        return line.find(word) != std::u16string_view::npos;
    });
}

bool KeywordList::AnyStartsOf(QStringView upper) const
{
    const std::u16string_view line = standardView(upper);
    return std::any_of(m_words.begin(), m_words.end(),
                       [line](const std::u16string &word) { return line.starts_with(word); });
}

bool KeywordList::AnyEndsOf(QStringView upper) const
{
    const std::u16string_view line = standardView(upper);
    return std::any_of(m_words.begin(), m_words.end(),
                       [line](const std::u16string &word) { return line.ends_with(word); });
}
