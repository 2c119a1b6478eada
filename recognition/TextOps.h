#pragma once

#include <QString>
#include <QStringView>

// The small text operations every recognition step shares. Case-insensitive
// comparisons upper-case both sides character by character (QChar::toUpper),
// so lengths and positions never change: "ä" matches "Ä", "ß" stays "ß".

inline bool IsDigit09(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

int CountDigits(QStringView s);
// Removes every character whose code is 30 or below.
QString StripControlChars(QStringView s);
// The text as the original clipboard hands it over: every line feed that no
// carriage return precedes becomes carriage return + line feed. Qt and Linux
// deliver line feeds alone; the separator rules count on CR LF. A lone carriage
// return stays.
QString WithCrLfLineBreaks(const QString &text);

// Upper-cases s into out, reusing out's storage; UpperCopy writes s.size() characters to dest.
void UpperInto(QStringView s, QString &out);
void UpperCopy(QStringView s, QChar *dest);
QString UpperText(QStringView s);
// Leading and trailing blanks (the space character only) removed.
QStringView TrimBlanks(QStringView s);
QString TrimmedBlanks(const QString &s);
