#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// One INI file's bytes, split into lines and classified the way the platform's
// private-profile functions see them. Reads are hash lookups; an edit yields the
// bytes of the whole new file, with every line it does not touch kept as it was.
// Names and values are bytes in the file's own encoding; encode() and decode()
// are the one way between those bytes and text.
class IniDocument
{
public:
    struct Assignment
    {
        QByteArray key;
        QByteArray value;
    };
    // Editors on Linux save UTF-8: a file that is valid UTF-8 with text beyond
    // ASCII, or that starts with the UTF-8 mark, is read and written as UTF-8.
    // Everything else, and a new file, is Windows-1252.
    enum class Encoding : quint8 { Cp1252, Utf8, Utf8WithMark };

    IniDocument() = default;
    explicit IniDocument(QByteArray bytes);

    const QByteArray &bytes() const { return m_bytes; }
    Encoding encoding() const { return m_encoding; }

    // Text as this file holds it; nullopt when its encoding lacks a character
    // of it (unmappable() says which), so no text is ever stored mangled.
    std::optional<QByteArray> encode(QStringView text) const;
    // Names and values to write: encoded, control characters as blanks, so no
    // text can start a new line.
    std::optional<QByteArray> fileText(QStringView text) const;
    // The characters of text this file cannot hold; empty when it holds them all.
    QString unmappable(QStringView text) const;
    QString decode(QByteArrayView bytes) const;
    // Two names are equal when their folded forms are: letter case is ignored
    // (ß stays ß), and no other letter ever matches an ASCII one.
    QByteArray foldedName(QByteArrayView name) const;

    // readString with the names and the default as text. A name the file cannot
    // hold names nothing in it.
    QString readText(QStringView section, QStringView key, QStringView standard,
                     int bufferLength) const;

    // The text a read with a buffer of bufferLength bytes returns: the value of
    // the first matching key in the first matching section, else the default;
    // quotes stripped, cut to bufferLength - 1 bytes (in UTF-8 back to the start
    // of a character).
    QByteArray readString(QByteArrayView section, QByteArrayView key, QByteArrayView standard,
                          int bufferLength) const;

    // The file after writing the assignments one after the other into section;
    // nullopt when nothing would change.
    std::optional<QByteArray> withValues(QByteArrayView section,
                                         const QList<Assignment> &assignments) const;
    // The file without the first section of that exact (untrimmed) name; nullopt
    // when there is none.
    std::optional<QByteArray> withoutSection(QByteArrayView section) const;

    // The name of every section in file order, duplicates included; lines
    // before the first header count as a section with the empty name.
    QList<QByteArray> sectionNames() const;
    // The file with the sections changed one by one, names[i] for the i-th of
    // sectionNames(): nullopt drops the section, another name replaces the
    // name between its header's brackets; every other byte stays. The lines
    // before the first header have no name to replace. nullopt when nothing
    // would change.
    std::optional<QByteArray> withSections(const QList<std::optional<QByteArray>> &names) const;

private:
    enum class LineKind : quint8 { Blank, Header, Key };
    struct Classified
    {
        LineKind kind = LineKind::Blank;
        QByteArrayView name; // section or key name, trimmed
        bool hasValue = false;
        QByteArrayView value; // trimmed
    };
    struct Line
    {
        qsizetype start = 0;
        qint32 length = 0; // without the line end
        LineKind kind = LineKind::Blank;
    };
    struct Section
    {
        int header = -1;      // line of the header; -1 for the lines before the first header
        int first = 0;        // first line after the header
        int end = 0;          // next header, or the line count
        int lastNonBlank = 0; // where a new key goes after; the header when there is none
        mutable std::optional<QHash<QByteArray, int>> keys; // folded name -> first key line
    };
    struct Edits;

    IniDocument(QByteArray bytes, Encoding encoding);
    static Classified classify(QByteArrayView line);
    void parse();
    void splitLines();
    void collectSections();
    QByteArrayView content(int line) const;
    QByteArrayView lineEndBytes(int line) const;
    QByteArrayView sectionName(int section) const;
    qsizetype lineEnd(int line) const; // offset after the line's end bytes
    int findSection(QByteArrayView trimmedName) const;
    int findKey(int section, QByteArrayView trimmedName) const;
    std::optional<QByteArrayView> storedValue(QByteArrayView section, QByteArrayView key) const;

    std::optional<QByteArray> applyUntilStructural(QByteArrayView section,
                                                   const QList<Assignment> &assignments,
                                                   qsizetype from, qsizetype *consumed) const;
    bool record(int target, const Assignment &assignment, Edits &edits) const;
    void replaceValue(int line, QByteArrayView value, Edits &edits) const;
    bool addLine(int target, QByteArrayView key, QByteArrayView value, Edits &edits) const;
    QByteArray rendered(QByteArrayView section, int target, const Edits &edits) const;
    void appendLine(QByteArray &out, int line, const Edits &edits) const;
    void appendEndWithNewLines(QByteArray &out, int line, const Edits &edits) const;

    QByteArrayView newLineEnd() const;

    QByteArray m_bytes;
    Encoding m_encoding = Encoding::Cp1252;
    bool m_lineFeedsOnly = false; // the file's first line ends in LF alone
    qsizetype m_bodyStart = 0;    // after the UTF-8 mark
    std::vector<Line> m_lines;
    std::vector<Section> m_sections;
    QHash<QByteArray, int> m_sectionIndex; // folded name -> first section
};
