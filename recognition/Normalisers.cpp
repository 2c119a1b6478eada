#include "Normalisers.h"

namespace {

bool isDelimiter(QChar c)
{
    return c == u' ' || c == u':' || c == u'/' || c == u'"';
}

bool isPhoneCharacter(QChar c)
{
    static const QStringView kept = u"0123456789()/-+[]";
    return kept.contains(c);
}

// Cuts text around the last occurrence of mark: from after the nearest
// delimiter on its left, then (in the shortened text) up to the first delimiter
// on the right of its last occurrence.
QString cutAroundMark(const QString &text, QStringView mark)
{
    qsizetype p = text.lastIndexOf(mark);
    if (p < 0)
        return text;
    qsizetype left = p;
    while (left >= 0 && !isDelimiter(text[left]))
        --left;
    const QString shortened = text.mid(left + 1);

    p = shortened.lastIndexOf(mark);
    qsizetype right = p;
    while (right < shortened.size() && !isDelimiter(shortened[right]))
        ++right;
    return shortened.left(right);
}

} // namespace

QString CleanPhone(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (isPhoneCharacter(c))
            result.append(c);
    }
    if (result.isEmpty())
        return text;
    return result.remove(QStringLiteral("+49"));
}

QString CleanEMail(const QString &text)
{
    return cutAroundMark(text, u"@");
}

QString CleanWebAddress(const QString &text)
{
    if (text.contains(u"www"))
        return cutAroundMark(text, u"www");
    const QStringView http = u"http://";
    const qsizetype p = text.lastIndexOf(http);
    if (p >= 0)
        return text.mid(p + http.size());
    return text;
}
