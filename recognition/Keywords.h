#pragma once

#include <QString>
#include <QStringView>

#include <initializer_list>
#include <vector>

// A list of keywords, kept as written (for reading) and upper-cased once (for
// matching against a line that was upper-cased once).
class KeywordList
{
public:
    KeywordList(std::initializer_list<const char16_t *> words);

    // Each test takes an already upper-cased text.
    bool AnyContainedIn(QStringView upper) const;
    bool AnyStartsOf(QStringView upper) const;
    bool AnyEndsOf(QStringView upper) const;

    const std::vector<QString> &Upper() const { return m_upper; }

private:
    std::vector<QString> m_upper;
};
