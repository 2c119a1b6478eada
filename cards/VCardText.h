#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

// The text rules of a vCard line, the same in 4.0 and 3.0.
namespace VCardText {

// Backslash, comma, semicolon and line breaks escaped. A line break is the
// system's CR LF; a lone CR or LF is one too, and all three are written as \n.
QString Escape(QStringView value);
// The reverse of Escape: \n comes back as CR LF; an unknown escape keeps its character.
QString Unescape(QStringView value);

// Several values of one component, escaped and joined by commas; trailing empty
// values are left out, inner ones kept so every value stays in its place.
QString JoinList(const QStringList &values);
// Components (escaped) joined by semicolons, trailing empty ones left out.
QString JoinComponents(const QStringList &components);

// Splits at the separator where it is not escaped; the parts stay escaped.
QStringList SplitUnescaped(QStringView value, QChar separator);

// One content line as UTF-8, folded after 75 octets without splitting a
// character, each physical line ending in CR LF.
QByteArray Fold(const QString &line);

} // namespace VCardText
