#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class QIODevice;

// One content line of a card, unfolded and decoded (quoted-printable, charset);
// the value is still escaped, since how it splits into components depends on
// the property.
struct VCardProperty
{
    int Line = 0;                                  // where it starts in the file, from 1
    QString Name;                                  // upper case, without a group
    QList<std::pair<QString, QString>> Parameters; // name in upper case, value unquoted
    QString Value;

    // The values of every TYPE parameter, in lower case.
    QStringList Types() const;
    bool HasParameter(QStringView name) const;
    QString Parameter(QStringView name) const;
};

struct VCard
{
    int FirstLine = 0;
    QString Version; // "2.1", "3.0" or "4.0"; a card without one is read as 3.0
    QList<VCardProperty> Properties;
    QStringList SkippedLines; // lines of the card that were left out, and why
};

struct CardProblem
{
    int Line = 0; // 0: the file as a whole
    QString Message;
    bool CardSkipped = false; // else lines outside any card, or nothing to read
};

// Takes the cards as the reader finds them, one property at a time, so that
// no card is ever held whole.
class VCardSink
{
public:
    virtual ~VCardSink() = default;
    virtual void BeginCard(int line) = 0;
    virtual void Property(const VCardProperty &property) = 0;
    // The card is complete; `card` carries everything but the properties.
    virtual void EndCard(const VCard &card) = 0;
    // With CardSkipped, the card begun last is dropped.
    virtual void Problem(const CardProblem &problem) = 0;
};

// Reads the cards of a .vcf (2.1, 3.0, 4.0) from `input`. A line that is no
// readable property is left out of its card and named in it; a card without
// END or of another version is dropped with a problem naming its line.
void ReadVCards(QIODevice &input, VCardSink &sink);

struct VCardReadResult
{
    QList<VCard> Cards;
    QList<CardProblem> Problems;
};

// The same for cards already in memory, each card whole.
VCardReadResult ReadVCards(const QByteArray &bytes);
