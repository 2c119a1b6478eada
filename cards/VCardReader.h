#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// One content line of a card, unfolded; the value is still escaped, since
// how it splits into components depends on the property.
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
    QString Version;
    QList<VCardProperty> Properties;
};

struct CardProblem
{
    int Line = 0; // 0: the file as a whole
    QString Message;
    bool CardSkipped = false; // else lines outside any card, or nothing to read
};

struct VCardReadResult
{
    QList<VCard> Cards;
    QList<CardProblem> Problems;
};

// The cards of a .vcf file (4.0 and 3.0). A card with a line it cannot read,
// without END or of another version is skipped with a problem naming its
// line; the others are read.
VCardReadResult ReadVCards(const QByteArray &bytes);
