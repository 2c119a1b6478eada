#include "VCardReader.h"

#include <QStringDecoder>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Far beyond any text a contact holds, short of a photo; a longer line is
// more likely a file that is not a card at all.
constexpr qsizetype MaxLogicalLineOctets = 1 << 20;

struct RawLine
{
    int number = 0;
    QByteArray bytes;
};

// Physical lines joined where a line starts with a space or tab (folding);
// the line ends may be CR LF or LF.
QList<RawLine> unfold(const QByteArray &bytes)
{
    QList<RawLine> lines;
    qsizetype from = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int number = 0;
    while (from < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', from);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = QByteArrayView(bytes).sliced(from, end - from);
        if (line.endsWith('\r'))
            line.chop(1);
        from = end + 1;
        ++number;
        const bool continuation = !line.isEmpty() && (line[0] == ' ' || line[0] == '\t');
        if (continuation && !lines.isEmpty())
            lines.last().bytes += line.sliced(1);
        else
            lines.append({number, line.toByteArray()});
    }
    return lines;
}

std::optional<QString> decodeLine(const QByteArray &bytes, QString &problem)
{
    if (bytes.size() > MaxLogicalLineOctets) {
        problem = u"Zeile ist länger als %1 Byte"_s.arg(MaxLogicalLineOctets);
        return std::nullopt;
    }
    if (bytes.contains('\0')) {
        problem = u"Binärdaten statt Text"_s;
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError()) {
        problem = u"kein gültiges UTF-8"_s;
        return std::nullopt;
    }
    return text;
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

// Reads "name=value" or "name=\"value\"" from `at`; a bare word is a type, as older cards write it.
std::optional<std::pair<QString, QString>> readParameter(QStringView line, qsizetype &at)
{
    const qsizetype start = at;
    while (at < line.size() && line[at] != u'=' && line[at] != u';' && line[at] != u':')
        ++at;
    const QString name = line.sliced(start, at - start).toString().toUpper();
    if (!validName(name))
        return std::nullopt;
    if (at >= line.size() || line[at] != u'=')
        return std::pair{u"TYPE"_s, name};
    ++at;
    QString value;
    bool quoted = false;
    for (; at < line.size(); ++at) {
        const QChar c = line[at];
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u';' || c == u':'))
            break;
        else
            value += c;
    }
    if (quoted)
        return std::nullopt;
    return std::pair{name, value};
}

std::optional<VCardProperty> parseProperty(int lineNumber, QStringView line)
{
    qsizetype at = 0;
    while (at < line.size() && line[at] != u';' && line[at] != u':')
        ++at;
    QString name = line.first(at).toString().toUpper();
    if (!validName(name) || at == line.size())
        return std::nullopt;
    name = name.mid(name.lastIndexOf(u'.') + 1); // the group prefix says nothing here
    VCardProperty property{lineNumber, name, {}, {}};
    while (line[at] == u';') {
        ++at;
        const auto parameter = readParameter(line, at);
        if (!parameter || at == line.size())
            return std::nullopt;
        property.Parameters.append(*parameter);
    }
    property.Value = line.sliced(at + 1).toString();
    return property;
}

bool isLine(QStringView line, QStringView expected)
{
    return line.trimmed().compare(expected, Qt::CaseInsensitive) == 0;
}

// The cards as they come, each checked when its END arrives.
class CardCollector
{
public:
    void line(int number, const QByteArray &bytes)
    {
        QString problem;
        const std::optional<QString> text = decodeLine(bytes, problem);
        if (text && isLine(*text, u"BEGIN:VCARD")) {
            begin(number);
        } else if (!m_open) {
            stray(number, text, problem);
        } else if (!text) {
            breakCard(number, problem);
        } else if (isLine(*text, u"END:VCARD")) {
            end();
        } else if (!text->trimmed().isEmpty()) {
            property(number, *text);
        }
    }

    VCardReadResult finish()
    {
        if (m_open)
            unterminated();
        const bool cardSeen = std::any_of(m_result.Problems.cbegin(), m_result.Problems.cend(),
                                          [](const CardProblem &p) { return p.CardSkipped; });
        if (m_result.Cards.isEmpty() && !cardSeen)
            m_result.Problems.append({0, u"Die Datei enthält keine vCard."_s});
        return std::move(m_result);
    }

private:
    void begin(int number)
    {
        if (m_open)
            unterminated();
        m_open = true;
        m_broken = false;
        m_strayReported = false;
        m_card = VCard{number, {}, {}};
    }

    void end()
    {
        m_open = false;
        if (m_broken)
            return;
        if (m_card.Version != u"4.0"_s && m_card.Version != u"3.0"_s) {
            const QString version = m_card.Version.isEmpty() ? u"ohne"_s : m_card.Version;
            report(m_card.FirstLine, u"Karte ab Zeile %1 übersprungen: vCard-Version %2, "
                                     u"gelesen werden 3.0 und 4.0"_s.arg(m_card.FirstLine)
                                         .arg(version));
            return;
        }
        m_result.Cards.append(std::move(m_card));
    }

    void property(int number, const QString &text)
    {
        std::optional<VCardProperty> parsed = parseProperty(number, text);
        if (!parsed) {
            breakCard(number, u"keine Eigenschaft (Name:Wert)"_s);
            return;
        }
        if (parsed->Name == u"VERSION"_s)
            m_card.Version = parsed->Value.trimmed();
        m_card.Properties.append(std::move(*parsed));
    }

    void stray(int number, const std::optional<QString> &text, const QString &problem)
    {
        if ((text && text->trimmed().isEmpty()) || m_strayReported)
            return;
        m_strayReported = true;
        const QString what = problem.isEmpty() ? u"gehört zu keiner Karte"_s : problem;
        report(number, u"Zeile %1: %2"_s.arg(number).arg(what), false);
    }

    void breakCard(int number, const QString &problem)
    {
        if (m_broken)
            return;
        m_broken = true;
        report(number, u"Karte ab Zeile %1 übersprungen: Zeile %2: %3"_s.arg(m_card.FirstLine)
                           .arg(number)
                           .arg(problem));
    }

    void unterminated()
    {
        m_open = false;
        if (!m_broken)
            report(m_card.FirstLine,
                   u"Karte ab Zeile %1 übersprungen: END:VCARD fehlt"_s.arg(m_card.FirstLine));
    }

    void report(int line, const QString &message, bool cardSkipped = true)
    {
        m_result.Problems.append({line, message, cardSkipped});
    }

    VCardReadResult m_result;
    VCard m_card;
    bool m_open = false;
    bool m_broken = false;
    bool m_strayReported = false;
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

VCardReadResult ReadVCards(const QByteArray &bytes)
{
    if (bytes.trimmed().isEmpty())
        return {{}, {{0, u"Die Datei ist leer."_s}}};
    CardCollector collector;
    for (const RawLine &line : unfold(bytes))
        collector.line(line.number, line.bytes);
    return collector.finish();
}
