#pragma once

#include <QString>
#include <QStringView>

#include <initializer_list>
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
    std::vector<QString> m_words;
};
