#include "VCardText.h"

namespace VCardText {

namespace {

constexpr qsizetype MaxLineOctets = 75;

// Octets of the UTF-8 sequence that starts with this lead byte.
int sequenceLength(uchar lead)
{
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

} // namespace

QString Escape(QStringView value)
{
    QString escaped;
    escaped.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' || c == u',' || c == u';') {
            escaped += u'\\';
            escaped += c;
        } else if (c == u'\r') {
            escaped += u"\\n";
            if (i + 1 < value.size() && value[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            escaped += u"\\n";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QString Unescape(QStringView value)
{
    QString plain;
    plain.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            plain += c;
            continue;
        }
        const QChar next = value[++i];
        if (next == u'n' || next == u'N')
            plain += u"\r\n";
        else
            plain += next;
    }
    return plain;
}

QString JoinList(const QStringList &values)
{
    qsizetype used = values.size();
    while (used > 0 && values[used - 1].isEmpty())
        --used;
    QStringList escaped;
    for (qsizetype i = 0; i < used; ++i)
        escaped.append(Escape(values[i]));
    return escaped.join(u',');
}

QString JoinComponents(const QStringList &components)
{
    qsizetype used = components.size();
    while (used > 0 && components[used - 1].isEmpty())
        --used;
    return components.first(used).join(u';');
}

QStringList SplitUnescaped(QStringView value, QChar separator)
{
    QStringList parts;
    QString part;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' && i + 1 < value.size()) {
            part += c;
            part += value[++i];
        } else if (c == separator) {
            parts.append(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.append(part);
    return parts;
}

QByteArray Fold(const QString &line)
{
    const QByteArray utf8 = line.toUtf8();
    QByteArray folded;
    folded.reserve(utf8.size() + utf8.size() / MaxLineOctets * 3 + 2);
    qsizetype lineOctets = 0;
    for (qsizetype i = 0; i < utf8.size();) {
        const int length = sequenceLength(uchar(utf8[i]));
        if (lineOctets + length > MaxLineOctets) {
            // The continuation's leading space counts toward its 75 octets.
            folded += "\r\n ";
            lineOctets = 1;
        }
        folded.append(utf8.constData() + i, length);
        lineOctets += length;
        i += length;
    }
    folded += "\r\n";
    return folded;
}

} // namespace VCardText
