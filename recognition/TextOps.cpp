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
    QString out;
    AppendWithoutControlChars(s, out);
    return out;
}

void AppendWithoutControlChars(QStringView s, QString &out)
{
    const qsizetype from = out.size();
    out.resize(from + s.size());
    QChar *d = out.data() + from;
    qsizetype length = 0;
    for (QChar c : s) {
        if (c.unicode() > 30)
            d[length++] = c;
    }
    out.truncate(from + length);
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
