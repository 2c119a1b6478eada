#pragma once

#include <QString>
#include <QStringView>

#include <string_view>

// The small text operations every recognition step shares. Case-insensitive
// comparisons upper-case both sides character by character (QChar::toUpper),
// so lengths and positions never change: "ä" matches "Ä", "ß" stays "ß".

// The standard library's view of the same characters. Its searches suit the
// short texts and needles here better than Qt's general string search, whose
// set-up outweighs the search itself.
inline std::u16string_view StandardView(QStringView s)
{
    return {s.utf16(), size_t(s.size())};
}
// Where needle first occurs in text at or after from; -1 if it does not.
inline qsizetype FindText(QStringView text, QStringView needle, qsizetype from = 0)
{
    const size_t at = StandardView(text).find(StandardView(needle), size_t(from));
    return at == std::u16string_view::npos ? -1 : qsizetype(at);
}
// Where needle last occurs in text; -1 if it does not.
inline qsizetype FindLastText(QStringView text, QStringView needle)
{
    const size_t at = StandardView(text).rfind(StandardView(needle));
    return at == std::u16string_view::npos ? -1 : qsizetype(at);
}

// The same for one character: Qt's search sets up as much for one as for many.
inline qsizetype FindChar(QStringView text, char16_t c, qsizetype from = 0)
{
    const size_t at = StandardView(text).find(c, size_t(from));
    return at == std::u16string_view::npos ? -1 : qsizetype(at);
}
inline qsizetype FindLastChar(QStringView text, char16_t c)
{
    const size_t at = StandardView(text).rfind(c);
    return at == std::u16string_view::npos ? -1 : qsizetype(at);
}
inline bool HasChar(QStringView text, char16_t c)
{
    return FindChar(text, c) >= 0;
}

inline bool IsDigit09(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

int CountDigits(QStringView s);
// Removes every character whose code is 30 or below.
QString StripControlChars(QStringView s);
void AppendWithoutControlChars(QStringView s, QString &out);
// The text as the original clipboard hands it over: every line feed that no
// carriage return precedes becomes carriage return + line feed. Qt and Linux
// deliver line feeds alone; the separator rules count on CR LF. A lone carriage
// return stays.
QString WithCrLfLineBreaks(const QString &text);

// ASCII first: nearly every address character is one.
inline QChar UpperChar(QChar c)
{
    if (c.unicode() < 0x80)
        return (c.unicode() >= u'a' && c.unicode() <= u'z') ? QChar(c.unicode() - 32) : c;
    return c.toUpper();
}
// Upper-cases s into out, reusing out's storage; UpperCopy writes s.size() characters to dest.
void UpperInto(QStringView s, QString &out);
void UpperCopy(QStringView s, QChar *dest);
QString UpperText(QStringView s);
// Leading and trailing blanks (the space character only) removed.
QStringView TrimBlanks(QStringView s);
QString TrimmedBlanks(const QString &s);
