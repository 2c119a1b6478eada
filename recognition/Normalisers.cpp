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
    // Every "+49" goes, found left to right without overlap.
    QChar *out = result.data();
    qsizetype kept = 0;
    for (qsizetype i = 0; i < length; ++i) {
        if (out[i] == u'+' && i + 2 < length && out[i + 1] == u'4' && out[i + 2] == u'9') {
            i += 2;
            continue;
        }
        out[kept++] = out[i];
    }
    result.truncate(kept);
    return result;
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
