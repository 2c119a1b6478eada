#include "TextOps.h"

int CountDigits(QStringView s)
{
    int count = 0;
    for (QChar c : s) {
        if (IsDigit09(c))
            ++count;
    }
    return count;
}

QString StripControlChars(QStringView s)
{
    QString out(s.size(), Qt::Uninitialized);
    QChar *d = out.data();
    qsizetype length = 0;
    for (QChar c : s) {
        if (c.unicode() > 30)
            d[length++] = c;
    }
    out.truncate(length);
    return out;
}

QString WithCrLfLineBreaks(const QString &text)
{
    qsizetype bare = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            ++bare;
    }
    if (bare == 0)
        return text;
    QString out(text.size() + bare, Qt::Uninitialized);
    QChar *d = out.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            *d++ = u'\r';
        *d++ = text[i];
    }
    return out;
}

void UpperInto(QStringView s, QString &out)
{
    out.resize(s.size());
    UpperCopy(s, out.data());
}

void UpperCopy(QStringView s, QChar *d)
{
    for (qsizetype i = 0; i < s.size(); ++i)
        d[i] = UpperChar(s[i]);
}

QString UpperText(QStringView s)
{
    QString out;
    UpperInto(s, out);
    return out;
}

QStringView TrimBlanks(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s[begin] == u' ')
        ++begin;
    while (end > begin && s[end - 1] == u' ')
        --end;
    return s.sliced(begin, end - begin);
}

QString TrimmedBlanks(const QString &s)
{
    const QStringView trimmed = TrimBlanks(s);
    if (trimmed.size() == s.size())
        return s;
    return trimmed.toString();
}
