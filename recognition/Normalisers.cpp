#include "Normalisers.h"

#include "TextOps.h"

namespace {

bool isDelimiter(QChar c)
{
    return c == u' ' || c == u':' || c == u'/' || c == u'"';
}

// "0123456789()/-+[]"
bool isPhoneCharacter(QChar c)
{
    switch (c.unicode()) {
    case u'(':
    case u')':
    case u'/':
    case u'-':
    case u'+':
    case u'[':
    case u']':
        return true;
    default:
        return c.unicode() >= u'0' && c.unicode() <= u'9';
    }
}

// Cuts text around the last occurrence of mark: from after the nearest
// delimiter on its left, then (in the shortened text) up to the first delimiter
// on the right of its last occurrence.
QString cutAroundMark(const QString &text, QStringView mark)
{
    qsizetype p = FindLastText(text, mark);
    if (p < 0)
        return text;
    qsizetype left = p;
    while (left >= 0 && !isDelimiter(text[left]))
        --left;
    const QString shortened = text.mid(left + 1);

    p = FindLastText(shortened, mark);
    qsizetype right = p;
    while (right < shortened.size() && !isDelimiter(shortened[right]))
        ++right;
    return shortened.left(right);
}

// A "+49" before a trunk zero ("0", "(0)") only goes; any other "+49" becomes that zero,
// so the number stays dialable. Decided right to left: a "+49" that turns into "0" is a
// trunk zero for one before it ("+49+49 30" gives "030").
QString DialableGermanPrefix(const QString &kept)
{
    if (FindText(kept, u"+49") < 0)
        return kept;
    const qsizetype length = kept.size();
    QString out(length, Qt::Uninitialized);
    QChar *d = out.data();
    qsizetype start = length; // the result so far is [start, length)
    for (qsizetype i = length - 1; i >= 0; --i) {
        if (i >= 2 && kept[i - 2] == u'+' && kept[i - 1] == u'4' && kept[i] == u'9') {
            const QStringView after(d + start, length - start);
            if (!after.startsWith(u'0') && !after.startsWith(u"(0)"))
                d[--start] = u'0';
            i -= 2;
            continue;
        }
        d[--start] = kept[i];
    }
    return out.mid(start);
}

} // namespace

QString CleanPhone(const QString &text)
{
    QString result(text.size(), Qt::Uninitialized);
    QChar *d = result.data();
    qsizetype length = 0;
    for (QChar c : text) {
        if (isPhoneCharacter(c))
            d[length++] = c;
    }
    result.truncate(length);
    if (result.isEmpty())
        return text;
    return DialableGermanPrefix(result);
}

QString CleanEMail(const QString &text)
{
    return cutAroundMark(text, u"@");
}

QString CleanWebAddress(const QString &text)
{
    if (FindText(text, u"www") >= 0)
        return cutAroundMark(text, u"www");
    const QStringView http = u"http://";
    const qsizetype p = FindLastText(text, http);
    if (p >= 0)
        return text.mid(p + http.size());
    return text;
}
