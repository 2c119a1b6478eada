#include "VCardReader.h"

#include "support/Cp1252.h"

#include <QBuffer>
#include <QIODevice>
#include <QStringDecoder>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Far beyond any text a contact holds, short of a photo; a longer line is
// left out without being held.
constexpr qsizetype MaxLogicalLineOctets = 1 << 20;

const QStringList ReadableVersions{u"2.1"_s, u"3.0"_s, u"4.0"_s};
// What older cards write as a bare parameter besides types.
const QStringList BareEncodings{u"QUOTED-PRINTABLE"_s, u"BASE64"_s, u"8BIT"_s, u"7BIT"_s};
const QStringList BareValueKinds{u"INLINE"_s, u"URL"_s, u"URI"_s, u"CONTENT-ID"_s, u"CID"_s};

// A content line as it comes from the file: folds joined, and quoted-printable
// soft line breaks (a value line ending in "=") as well.
struct LogicalLine
{
    int number = 0;
    QByteArray bytes;
    bool overlong = false; // bytes then hold only its beginning
    bool quotedPrintable = false;
    bool endsInSoftBreak = false;
};

bool isQuotedPrintableHead(QByteArrayView line)
{
    const qsizetype colon = line.indexOf(':');
    const QByteArrayView head = colon < 0 ? line : line.first(colon);
    return head.toByteArray().toUpper().contains("QUOTED-PRINTABLE");
}

// Physical lines of the device, line ends CR LF or LF; a line beyond the limit
// is read to its end but not kept.
class PhysicalLines
{
public:
    explicit PhysicalLines(QIODevice &input) : m_input(input) {}

    bool next(QByteArray &line, bool &overlong)
    {
        line.resize(0);
        overlong = false;
        bool any = false;
        for (;;) {
            const qint64 got = m_input.readLine(m_chunk.data(), m_chunk.size());
            if (got <= 0)
                break;
            any = true;
            if (line.size() + got > MaxLogicalLineOctets + 2)
                overlong = true;
            else if (!overlong)
                line.append(m_chunk.constData(), got);
            if (m_chunk[got - 1] == '\n')
                break;
        }
        if (!any)
            return false;
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (m_first && line.startsWith("\xEF\xBB\xBF"))
            line.remove(0, 3);
        m_first = false;
        return true;
    }

private:
    QIODevice &m_input;
    QByteArray m_chunk = QByteArray(1 << 16, Qt::Uninitialized);
    bool m_first = true;
};

void append(LogicalLine &logical, QByteArrayView more)
{
    if (logical.overlong || logical.bytes.size() + more.size() > MaxLogicalLineOctets)
        logical.overlong = true;
    else
        logical.bytes += more;
}

QByteArray decodeQuotedPrintable(QByteArrayView encoded)
{
    QByteArray decoded;
    decoded.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '=' && i + 2 < encoded.size()) {
            bool ok = false;
            const int byte = encoded.sliced(i + 1, 2).toByteArray().toInt(&ok, 16);
            if (ok) {
                decoded += char(byte);
                i += 2;
                continue;
            }
        }
        if (c == '=' && i + 1 == encoded.size())
            break; // a soft break that ended the value
        decoded += c;
    }
    return decoded;
}

bool isUtf8Name(const QString &charset)
{
    return charset.isEmpty() || charset == u"UTF-8"_s || charset == u"UTF8"_s ||
           charset == u"US-ASCII"_s || charset == u"ASCII"_s;
}

// The value's text by its charset; without one UTF-8, and bytes that are no
// UTF-8 are read as Windows-1252, as older programs wrote them.
QString decodeText(const QByteArray &bytes, const QString &charset, bool &guessed)
{
    guessed = false;
    if (isUtf8Name(charset)) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder(bytes);
        if (!decoder.hasError())
            return text;
        guessed = true;
        return Cp1252::toUnicode(bytes);
    }
    if (charset == u"ISO-8859-1"_s || charset == u"LATIN1"_s || charset == u"WINDOWS-1252"_s ||
        charset == u"CP1252"_s)
        return Cp1252::toUnicode(bytes);
    QStringDecoder decoder(charset.toLatin1().constData());
    if (decoder.isValid())
        return decoder(bytes);
    guessed = true;
    return Cp1252::toUnicode(bytes);
}

bool validName(QStringView name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'-' && c != u'.')
            return false;
    }
    return true;
}

std::pair<QString, QString> bareParameter(const QString &word)
{
    if (BareEncodings.contains(word))
        return {u"ENCODING"_s, word};
    if (BareValueKinds.contains(word))
        return {u"VALUE"_s, word};
    return {u"TYPE"_s, word};
}

// Reads "name=value" or "name=\"value\"" from `at`; a bare word is a type (or
// an encoding), as older cards write it.
std::optional<std::pair<QString, QString>> readParameter(QStringView head, qsizetype &at)
{
    const qsizetype start = at;
    while (at < head.size() && head[at] != u'=' && head[at] != u';')
        ++at;
    const QString name = head.sliced(start, at - start).toString().trimmed().toUpper();
    if (!validName(name))
        return std::nullopt;
    if (at >= head.size() || head[at] != u'=')
        return bareParameter(name);
    ++at;
    QString value;
    bool quoted = false;
    for (; at < head.size(); ++at) {
        const QChar c = head[at];
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u';')
            break;
        else
            value += c;
    }
    if (quoted)
        return std::nullopt;
    return std::pair{name, value};
}

// The position of the colon that ends the name and parameters, outside quotes.
qsizetype headEnd(QByteArrayView line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return -1;
}

std::optional<VCardProperty> parseHead(int lineNumber, QStringView head)
{
    qsizetype at = 0;
    while (at < head.size() && head[at] != u';')
        ++at;
    QString name = head.first(at).toString().trimmed().toUpper();
    if (!validName(name))
        return std::nullopt;
    name = name.mid(name.lastIndexOf(u'.') + 1); // the group prefix says nothing here
    if (name.isEmpty())
        return std::nullopt;
    VCardProperty property{lineNumber, name, {}, {}};
    while (at < head.size() && head[at] == u';') {
        ++at;
        const auto parameter = readParameter(head, at);
        if (!parameter)
            return std::nullopt;
        property.Parameters.append(*parameter);
    }
    return property;
}

bool isLine(QByteArrayView line, QByteArrayView expected)
{
    return line.trimmed().compare(expected, Qt::CaseInsensitive) == 0;
}

// The name a line starts with, for a message about a line that is not read.
QString leadingName(QByteArrayView line)
{
    qsizetype end = 0;
    while (end < line.size() && end < 40 && line[end] != ';' && line[end] != ':')
        ++end;
    return QString::fromLatin1(line.first(end)).toUpper();
}

// The cards as they come, checked line by line and when their END arrives.
class CardCollector
{
public:
    explicit CardCollector(VCardSink &sink) : m_sink(sink) {}

    void line(const LogicalLine &logical)
    {
        const QByteArrayView bytes = logical.bytes;
        if (!logical.overlong && isLine(bytes, "BEGIN:VCARD")) {
            begin(logical.number);
        } else if (!m_open) {
            stray(logical);
        } else if (!logical.overlong && isLine(bytes, "END:VCARD")) {
            end();
        } else if (logical.overlong) {
            leaveOut(logical.number,
                     u"%1 länger als %2 Byte"_s.arg(leadingName(bytes)).arg(MaxLogicalLineOctets));
        } else if (!bytes.trimmed().isEmpty()) {
            property(logical);
        }
        if (!bytes.trimmed().isEmpty() || logical.overlong)
            m_anyText = true;
    }

    void finish()
    {
        if (m_open)
            unterminated();
        if (!m_anyText)
            m_sink.Problem({0, u"Die Datei ist leer."_s});
        else if (!m_cardSeen)
            m_sink.Problem({0, u"Die Datei enthält keine vCard."_s});
    }

private:
    void begin(int number)
    {
        if (m_open)
            unterminated();
        m_open = true;
        m_cardSeen = true;
        m_strayReported = false;
        m_card = VCard{number, {}, {}, {}};
        m_guessedLines.clear();
        m_sink.BeginCard(number);
    }

    void end()
    {
        m_open = false;
        if (m_card.Version.isEmpty())
            m_card.Version = u"3.0"_s;
        if (!ReadableVersions.contains(m_card.Version)) {
            skip(u"Karte ab Zeile %1 übersprungen: vCard-Version %2, gelesen werden 2.1, 3.0 "
                 u"und 4.0"_s.arg(m_card.FirstLine)
                     .arg(m_card.Version));
            return;
        }
        // 2.1 cards without a charset were written in the sender's code page.
        if (m_card.Version != u"2.1"_s) {
            for (const int number : std::as_const(m_guessedLines))
                m_card.SkippedLines.append(
                    u"Zeile %1: kein gültiges UTF-8, als Windows-1252 gelesen"_s.arg(number));
        }
        m_sink.EndCard(m_card);
    }

    void property(const LogicalLine &logical)
    {
        const qsizetype colon = headEnd(logical.bytes);
        std::optional<VCardProperty> parsed;
        if (colon >= 0)
            parsed = parseHead(logical.number, QString::fromUtf8(logical.bytes.first(colon)));
        if (!parsed) {
            leaveOut(logical.number, u"keine Eigenschaft (Name:Wert)"_s);
            return;
        }
        QByteArray value = logical.bytes.sliced(colon + 1);
        if (parsed->Parameter(u"ENCODING"_s).toUpper() == u"QUOTED-PRINTABLE"_s)
            value = decodeQuotedPrintable(value);
        if (value.contains('\0')) {
            leaveOut(logical.number, u"%1 enthält Binärdaten"_s.arg(parsed->Name));
            return;
        }
        bool guessed = false;
        parsed->Value = decodeText(value, parsed->Parameter(u"CHARSET"_s).toUpper(), guessed);
        if (guessed)
            m_guessedLines.append(logical.number);
        if (parsed->Name == u"VERSION"_s)
            m_card.Version = parsed->Value.trimmed();
        m_sink.Property(*parsed);
    }

    void leaveOut(int number, const QString &why)
    {
        m_card.SkippedLines.append(u"Zeile %1 übersprungen: %2"_s.arg(number).arg(why));
    }

    void stray(const LogicalLine &logical)
    {
        if (logical.bytes.trimmed().isEmpty() || m_strayReported)
            return;
        m_strayReported = true;
        const QString what =
            logical.bytes.contains('\0') ? u"Binärdaten statt Text"_s : u"gehört zu keiner Karte"_s;
        m_sink.Problem({logical.number, u"Zeile %1: %2"_s.arg(logical.number).arg(what), false});
    }

    void unterminated()
    {
        m_open = false;
        skip(u"Karte ab Zeile %1 übersprungen: END:VCARD fehlt"_s.arg(m_card.FirstLine));
    }

    void skip(const QString &message) { m_sink.Problem({m_card.FirstLine, message, true}); }

    VCardSink &m_sink;
    VCard m_card; // everything but the properties
    QList<int> m_guessedLines;
    bool m_open = false;
    bool m_cardSeen = false;
    bool m_anyText = false;
    bool m_strayReported = false;
};

// Whole cards, for callers that hold the file in memory anyway.
class CardList : public VCardSink
{
public:
    void BeginCard(int /*line*/) override { m_properties.clear(); }
    void Property(const VCardProperty &property) override { m_properties.append(property); }
    void EndCard(const VCard &card) override
    {
        result.Cards.append(card);
        result.Cards.last().Properties = std::move(m_properties);
    }
    void Problem(const CardProblem &problem) override { result.Problems.append(problem); }

    VCardReadResult result;

private:
    QList<VCardProperty> m_properties;
};

} // namespace

QStringList VCardProperty::Types() const
{
    QStringList types;
    for (const auto &[name, value] : Parameters) {
        if (name == u"TYPE"_s)
            types += value.toLower().split(u',', Qt::SkipEmptyParts);
    }
    return types;
}

bool VCardProperty::HasParameter(QStringView name) const
{
    for (const auto &parameter : Parameters) {
        if (parameter.first == name)
            return true;
    }
    return false;
}

QString VCardProperty::Parameter(QStringView name) const
{
    for (const auto &parameter : Parameters) {
        if (parameter.first == name)
            return parameter.second;
    }
    return {};
}

void ReadVCards(QIODevice &input, VCardSink &sink)
{
    CardCollector collector(sink);
    PhysicalLines physical(input);
    std::optional<LogicalLine> pending;
    QByteArray line;
    bool overlong = false;
    int number = 0;
    while (physical.next(line, overlong)) {
        ++number;
        // A value never swallows the END of its card, however its last line ends.
        if (pending && pending->endsInSoftBreak && !isLine(line, "END:VCARD")) {
            pending->bytes.chop(pending->overlong ? 0 : 1);
            append(*pending, line);
        } else if (pending && !line.isEmpty() && (line[0] == ' ' || line[0] == '\t')) {
            append(*pending, QByteArrayView(line).sliced(1));
        } else {
            if (pending)
                collector.line(*pending);
            pending = LogicalLine{number, line, overlong, isQuotedPrintableHead(line), false};
        }
        pending->overlong = pending->overlong || overlong;
        pending->endsInSoftBreak = pending->quotedPrintable && line.endsWith('=');
    }
    if (pending)
        collector.line(*pending);
    collector.finish();
}

VCardReadResult ReadVCards(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    CardList cards;
    ReadVCards(buffer, cards);
    return std::move(cards.result);
}
