#pragma once

#include <QStringView>

#include <initializer_list>
#include <string>
#include <vector>

// A list of keywords, kept upper-cased once for matching against upper-cased lines.
class KeywordList
{
public:
    KeywordList(std::initializer_list<const char16_t *> words);

    bool AnyContainedIn(QStringView upper) const;
    bool AnyStartsOf(QStringView upper) const;
    bool AnyEndsOf(QStringView upper) const;

private:
    // The standard search: the lines and keywords are a few characters long,
    // too short to repay the set-up of Qt's general string search.
    std::vector<std::u16string> m_words;
};
