#include "IniDocument.h"

#include "Cp1252.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

constexpr QByteArrayView CrLf("\r\n");
constexpr QByteArrayView Lf("\n");
constexpr QByteArrayView Utf8Mark("\xEF\xBB\xBF");

bool isAscii(QByteArrayView bytes)
{
    return std::none_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; });
}

IniDocument::Encoding detectEncoding(QByteArrayView bytes)
{
    if (bytes.startsWith(Utf8Mark))
        return IniDocument::Encoding::Utf8WithMark;
    if (isAscii(bytes) || !bytes.isValidUtf8())
        return IniDocument::Encoding::Cp1252;
    return IniDocument::Encoding::Utf8;
}

// QString::fromUtf8 drops a leading U+FEFF; in a value or name it is text.
QString fromUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

bool isUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Tab, LF, VT, FF, CR, Ctrl-Z and blank; not the no-break space.
bool isWhite(char c)
{
    switch (c) {
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x1A:
    case 0x20:
        return true;
    default:
        return false;
    }
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

QByteArrayView leftTrimmed(QByteArrayView text)
{
    qsizetype begin = 0;
    while (begin < text.size() && isWhite(text[begin]))
        ++begin;
    return text.sliced(begin);
}

QByteArrayView trimmed(QByteArrayView text)
{
    text = leftTrimmed(text);
    qsizetype end = text.size();
    while (end > 0 && isWhite(text[end - 1]))
        --end;
    return text.first(end);
}

} // namespace

IniDocument::IniDocument(QByteArray bytes)
    : m_bytes(std::move(bytes)), m_encoding(detectEncoding(m_bytes))
{
    parse();
}

IniDocument::IniDocument(QByteArray bytes, Encoding encoding)
    : m_bytes(std::move(bytes)), m_encoding(encoding)
{
    parse();
}

void IniDocument::parse()
{
    if (m_encoding == Encoding::Utf8WithMark && m_bytes.startsWith(Utf8Mark))
        m_bodyStart = Utf8Mark.size();
    splitLines();
    collectSections();
}

QString IniDocument::unmappable(QStringView text) const
{
    if (m_encoding == Encoding::Cp1252)
        return Cp1252::missing(text);
    // UTF-8 holds every character; only half a surrogate pair is none.
    QString lacking;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate() && !lacking.contains(text[i]))
            lacking.append(text[i]);
    }
    return lacking;
}

std::optional<QByteArray> IniDocument::encode(QStringView text) const
{
    if (!unmappable(text).isEmpty())
        return std::nullopt;
    return m_encoding == Encoding::Cp1252 ? Cp1252::fromUnicode(text) : text.toUtf8();
}

std::optional<QByteArray> IniDocument::fileText(QStringView text) const
{
    std::optional<QByteArray> bytes = encode(text);
    if (!bytes)
        return std::nullopt;
    for (char &byte : *bytes) {
        if (static_cast<unsigned char>(byte) < 0x20 || byte == 0x7F)
            byte = ' ';
    }
    return bytes;
}

QString IniDocument::decode(QByteArrayView bytes) const
{
    return m_encoding == Encoding::Cp1252 ? Cp1252::toUnicode(bytes) : fromUtf8(bytes);
}

QString IniDocument::readText(QStringView section, QStringView key, QStringView standard,
                              int bufferLength) const
{
    const std::optional<QByteArray> sectionBytes = fileText(section);
    const std::optional<QByteArray> keyBytes = fileText(key);
    if (!sectionBytes || !keyBytes || !storedValue(*sectionBytes, *keyBytes)) {
        // Only the default is left, shaped as a file without keys gives it back;
        // one this file cannot hold as in UTF-8.
        const std::optional<QByteArray> standardBytes = encode(standard);
        const IniDocument empty(QByteArray(), standardBytes ? m_encoding : Encoding::Utf8);
        return empty.decode(
            empty.readString({}, {}, standardBytes.value_or(standard.toUtf8()), bufferLength));
    }
    return decode(readString(*sectionBytes, *keyBytes, {}, bufferLength));
}

QByteArray IniDocument::foldedName(QByteArrayView name) const
{
    if (m_encoding == Encoding::Cp1252 || isAscii(name))
        return Cp1252::foldCase(name);
    if (!name.isValidUtf8()) {
        // Broken UTF-8 after a mark: only ASCII letters fold, no byte is reinterpreted.
        QByteArray folded = name.toByteArray();
        for (char &c : folded) {
            if (c >= 'A' && c <= 'Z')
                c = char(c + 0x20);
        }
        return folded;
    }
    QString text = fromUtf8(name);
    for (QChar &c : text) {
        // The Kelvin sign would otherwise match "k", as Windows-1252 files never do.
        const QChar folded = c.toCaseFolded();
        if (c.unicode() < 0x80 || folded.unicode() >= 0x80)
            c = folded;
    }
    return text.toUtf8();
}

IniDocument::Classified IniDocument::classify(QByteArrayView line)
{
    Classified result;
    const QByteArrayView text = trimmed(line);
    if (text.isEmpty())
        return result;
    if (text[0] == '[') {
        const qsizetype close = text.lastIndexOf(']');
        if (close > 0) {
            result.kind = LineKind::Header;
            result.name = trimmed(text.sliced(1, close - 1));
            return result;
        }
    }
    result.kind = LineKind::Key;
    const qsizetype equals = text.indexOf('=');
    if (equals < 0) {
        result.name = text;
        return result;
    }
    result.name = trimmed(text.first(equals));
    result.hasValue = true;
    result.value = trimmed(text.sliced(equals + 1));
    return result;
}

// Every run of CR and LF bytes ends one line.
void IniDocument::splitLines()
{
    const char *data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    for (qsizetype pos = m_bodyStart; pos < size;) {
        Line line;
        line.start = pos;
        while (pos < size && !isLineEnd(data[pos]))
            ++pos;
        line.length = qint32(pos - line.start);
        line.kind = classify(QByteArrayView(data + line.start, line.length)).kind;
        if (m_lines.empty() && pos < size)
            m_lineFeedsOnly = data[pos] == '\n';
        while (pos < size && isLineEnd(data[pos]))
            ++pos;
        m_lines.push_back(line);
    }
}

// The lines before the first header form a section with the empty name, but
// only when one of them is not blank.
void IniDocument::collectSections()
{
    const int lineCount = int(m_lines.size());
    m_sections.push_back(Section{});
    bool leadingContent = false;
    for (int i = 0; i < lineCount; ++i) {
        if (m_lines[i].kind == LineKind::Header) {
            m_sections.back().end = i;
            Section section;
            section.header = i;
            section.first = i + 1;
            section.lastNonBlank = i;
            m_sections.push_back(std::move(section));
        } else if (m_lines[i].kind == LineKind::Key) {
            m_sections.back().lastNonBlank = i;
            leadingContent = leadingContent || m_sections.size() == 1;
        }
    }
    m_sections.back().end = lineCount;
    if (!leadingContent)
        m_sections.erase(m_sections.begin());

    // Inserting from the back leaves the first of equal names in the index.
    for (int s = int(m_sections.size()) - 1; s >= 0; --s)
        m_sectionIndex.insert(foldedName(sectionName(s)), s);
}

// New lines end as the file's first line does: LF in a file saved on Linux,
// else (and in a new file) CR LF.
QByteArrayView IniDocument::newLineEnd() const
{
    return m_lineFeedsOnly ? Lf : CrLf;
}

QByteArrayView IniDocument::sectionName(int section) const
{
    const int header = m_sections[section].header;
    return header < 0 ? QByteArrayView() : classify(content(header)).name;
}

QByteArrayView IniDocument::content(int line) const
{
    return QByteArrayView(m_bytes.constData() + m_lines[line].start, m_lines[line].length);
}

qsizetype IniDocument::lineEnd(int line) const
{
    return line + 1 < int(m_lines.size()) ? m_lines[line + 1].start : m_bytes.size();
}

QByteArrayView IniDocument::lineEndBytes(int line) const
{
    const qsizetype endStart = m_lines[line].start + m_lines[line].length;
    return QByteArrayView(m_bytes.constData() + endStart, lineEnd(line) - endStart);
}

int IniDocument::findSection(QByteArrayView trimmedName) const
{
    return m_sectionIndex.value(foldedName(trimmedName), -1);
}

int IniDocument::findKey(int section, QByteArrayView trimmedName) const
{
    const Section &s = m_sections[section];
    if (!s.keys) {
        QHash<QByteArray, int> keys;
        for (int line = s.first; line < s.end; ++line) {
            if (m_lines[line].kind != LineKind::Key)
                continue;
            const QByteArray folded = foldedName(classify(content(line)).name);
            if (!keys.contains(folded))
                keys.insert(folded, line);
        }
        s.keys = std::move(keys);
    }
    return s.keys->value(foldedName(trimmedName), -1);
}

QByteArray IniDocument::readString(QByteArrayView section, QByteArrayView key,
                                   QByteArrayView standard, int bufferLength) const
{
    if (bufferLength <= 0)
        return {};

    QByteArray text;
    const std::optional<QByteArrayView> stored = storedValue(section, key);
    if (stored) {
        text = stored->toByteArray();
    } else {
        // The default travels as a C string; trailing blanks go, but never its first byte.
        const qsizetype nul = standard.indexOf('\0');
        QByteArrayView value = nul < 0 ? standard : standard.first(nul);
        qsizetype end = value.size();
        while (end > 1 && value[end - 1] == ' ')
            --end;
        text = value.first(end).toByteArray();
    }

    const qsizetype room = bufferLength - 1;
    const char first = text.isEmpty() ? '\0' : text.front();
    QByteArrayView source = text;
    qsizetype take = 0;
    if (text.size() >= 2 && (first == '"' || first == '\'') && text.back() == first) {
        source = source.sliced(1);
        take = std::min(source.size(), room);
        if (bufferLength >= source.size())
            take = std::max<qsizetype>(take - 1, 0);
    } else {
        take = std::min(source.size(), room);
    }
    if (m_encoding != Encoding::Cp1252) {
        while (take > 0 && take < source.size() && isUtf8Continuation(source[take]))
            --take;
    }
    QByteArray result = source.first(take).toByteArray();
    const qsizetype nul = result.indexOf('\0');
    if (nul >= 0)
        result.truncate(nul);
    return result;
}

std::optional<QByteArrayView> IniDocument::storedValue(QByteArrayView section,
                                                       QByteArrayView key) const
{
    const int s = findSection(trimmed(section));
    const int line = s >= 0 ? findKey(s, trimmed(key)) : -1;
    if (line < 0)
        return std::nullopt;
    const Classified c = classify(content(line));
    return c.hasValue ? std::optional<QByteArrayView>(c.value) : std::nullopt;
}

std::optional<QByteArray> IniDocument::withValues(QByteArrayView section,
                                                  const QList<Assignment> &assignments) const
{
    // Usually one pass. Only a new line that reads back as a header changes the
    // file's structure for the writes after it; then the file is parsed afresh.
    std::optional<IniDocument> current;
    const IniDocument *document = this;
    bool changed = false;
    for (qsizetype from = 0; from < assignments.size();) {
        qsizetype consumed = 0;
        std::optional<QByteArray> next =
            document->applyUntilStructural(section, assignments, from, &consumed);
        from += consumed;
        if (next) {
            changed = true;
            if (from < assignments.size()) {
                // The batch keeps the encoding its texts were encoded in.
                current = IniDocument(std::move(*next), m_encoding);
                document = &*current;
            } else {
                return next;
            }
        }
    }
    if (!changed)
        return std::nullopt;
    return document->bytes();
}

// What a run of writes makes of the file: new values for key lines it has, and
// new lines after the section's last key.
struct IniDocument::Edits
{
    struct NewLine
    {
        QByteArray content;
        QByteArray fileKey; // the name a later read finds it under
        QByteArray value;   // as a later read sees it
    };
    QHash<int, QByteArray> replaced; // line -> new value
    std::vector<NewLine> added;
    QHash<QByteArray, qsizetype> addedIndex; // folded name -> its line in added

    bool isEmpty() const { return replaced.isEmpty() && added.empty(); }
    qsizetype extraBytes(QByteArrayView section) const
    {
        qsizetype extra = 16 + section.size();
        for (const NewLine &line : added)
            extra += line.content.size() + 2;
        for (const QByteArray &value : replaced)
            extra += value.size();
        return extra;
    }
};

std::optional<QByteArray> IniDocument::applyUntilStructural(QByteArrayView section,
                                                            const QList<Assignment> &assignments,
                                                            qsizetype from,
                                                            qsizetype *consumed) const
{
    const int target = findSection(trimmed(section));
    Edits edits;
    qsizetype i = from;
    bool structural = false;
    while (i < assignments.size() && !structural)
        structural = !record(target, assignments[i++], edits);
    *consumed = i - from;
    if (edits.isEmpty())
        return std::nullopt;
    return rendered(section, target, edits);
}

// One write into the target section; false when it adds a line that reads back
// as a header, after which the file has to be parsed afresh.
bool IniDocument::record(int target, const Assignment &assignment, Edits &edits) const
{
    const QByteArrayView value = leftTrimmed(assignment.value);
    const int line = target >= 0 ? findKey(target, trimmed(assignment.key)) : -1;
    if (line >= 0) {
        replaceValue(line, value, edits);
        return true;
    }
    const qsizetype added = edits.addedIndex.value(foldedName(trimmed(assignment.key)), -1);
    if (added < 0)
        return addLine(target, assignment.key, value, edits);
    Edits::NewLine &newLine = edits.added[size_t(added)];
    if (newLine.value != value) {
        newLine.content = newLine.fileKey + '=' + value.toByteArray();
        newLine.value = trimmed(value).toByteArray();
    }
    return true;
}

void IniDocument::replaceValue(int line, QByteArrayView value, Edits &edits) const
{
    const auto earlier = edits.replaced.find(line);
    if (earlier != edits.replaced.end()) {
        if (trimmed(*earlier) != value)
            *earlier = value.toByteArray();
        return;
    }
    const Classified stored = classify(content(line));
    if (!stored.hasValue || stored.value != value)
        edits.replaced.insert(line, value.toByteArray());
}

bool IniDocument::addLine(int target, QByteArrayView key, QByteArrayView value, Edits &edits) const
{
    Edits::NewLine added;
    added.content = leftTrimmed(key).toByteArray() + '=' + value.toByteArray();
    const Classified reread = classify(added.content);
    if (reread.kind == LineKind::Header) {
        edits.added.push_back(std::move(added));
        return false;
    }
    added.fileKey = reread.name.toByteArray();
    added.value = reread.value.toByteArray();
    // A name the section already has is read from its existing line, never from this one.
    const QByteArray folded = foldedName(reread.name);
    const bool shadowed = target >= 0 && findKey(target, reread.name) >= 0;
    if (!shadowed && !edits.addedIndex.contains(folded))
        edits.addedIndex.insert(folded, qsizetype(edits.added.size()));
    edits.added.push_back(std::move(added));
    return true;
}

QByteArray IniDocument::rendered(QByteArrayView section, int target, const Edits &edits) const
{
    QByteArray out;
    out.reserve(m_bytes.size() + edits.extraBytes(section));
    out.append(QByteArrayView(m_bytes).first(m_bodyStart));
    const int anchor = target >= 0 && !edits.added.empty() ? m_sections[target].lastNonBlank : -1;
    for (int line = 0; line < int(m_lines.size()); ++line) {
        appendLine(out, line, edits);
        if (line == anchor)
            appendEndWithNewLines(out, line, edits);
        else
            out.append(lineEndBytes(line));
    }
    if (target < 0 && !edits.added.empty()) {
        if (m_bytes.size() > m_bodyStart && !isLineEnd(m_bytes.back()))
            out.append(newLineEnd());
        out.append('[').append(leftTrimmed(section)).append(']').append(newLineEnd());
        for (const Edits::NewLine &added : edits.added)
            out.append(added.content).append(newLineEnd());
    }
    return out;
}

void IniDocument::appendLine(QByteArray &out, int line, const Edits &edits) const
{
    const auto replacement = edits.replaced.constFind(line);
    if (replacement == edits.replaced.cend()) {
        out.append(content(line));
        return;
    }
    out.append(classify(content(line)).name);
    out.append('=');
    out.append(*replacement);
}

// New lines go directly after the anchor's own line end, before any blank
// lines that followed it.
void IniDocument::appendEndWithNewLines(QByteArray &out, int line, const Edits &edits) const
{
    const QByteArrayView end = lineEndBytes(line);
    const qsizetype own = end.startsWith("\r\n") ? 2 : std::min<qsizetype>(1, end.size());
    out.append(own == 0 ? newLineEnd() : end.first(own));
    for (const Edits::NewLine &added : edits.added)
        out.append(added.content).append(newLineEnd());
    out.append(end.sliced(own));
}

std::optional<QByteArray> IniDocument::withoutSection(QByteArrayView section) const
{
    const int s = findSection(section);
    if (s < 0)
        return std::nullopt;
    const Section &found = m_sections[s];
    const qsizetype begin = found.header < 0 ? m_bodyStart : m_lines[found.header].start;
    const qsizetype end =
        found.end < int(m_lines.size()) ? m_lines[found.end].start : m_bytes.size();
    QByteArray out;
    out.reserve(m_bytes.size() - (end - begin));
    out.append(QByteArrayView(m_bytes).first(begin));
    out.append(QByteArrayView(m_bytes).sliced(end));
    return out;
}

QList<QByteArray> IniDocument::sectionNames() const
{
    QList<QByteArray> names;
    names.reserve(qsizetype(m_sections.size()));
    for (int s = 0; s < int(m_sections.size()); ++s)
        names.append(sectionName(s).toByteArray());
    return names;
}

std::optional<QByteArray>
IniDocument::withSections(const QList<std::optional<QByteArray>> &names) const
{
    QByteArray out;
    out.reserve(m_bytes.size());
    qsizetype copied = 0; // m_bytes before this offset are in out, or dropped
    bool changed = false;
    const int count = std::min(int(m_sections.size()), int(names.size()));
    for (int s = 0; s < count; ++s) {
        const Section &section = m_sections[s];
        const qsizetype begin = section.header < 0 ? 0 : m_lines[section.header].start;
        if (!names[s]) {
            const qsizetype end =
                section.end < int(m_lines.size()) ? m_lines[section.end].start : m_bytes.size();
            out.append(QByteArrayView(m_bytes).sliced(copied, begin - copied));
            copied = end;
            changed = true;
            continue;
        }
        const QByteArrayView name = sectionName(s);
        if (section.header < 0 || name == *names[s])
            continue;
        // Only the name itself: blanks inside the brackets, text after them
        // and the line end stay as they were.
        const qsizetype nameStart = name.data() - m_bytes.constData();
        out.append(QByteArrayView(m_bytes).sliced(copied, nameStart - copied));
        out.append(*names[s]);
        copied = nameStart + name.size();
        changed = true;
    }
    if (!changed)
        return std::nullopt;
    out.append(QByteArrayView(m_bytes).sliced(copied));
    return out;
}
