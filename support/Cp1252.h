#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The single-byte code page of the INI files. Characters it lacks become "?";
// its five unassigned bytes map to U+0081, U+008D, U+008F, U+0090 and U+009D so
// that every byte survives a round trip.
namespace Cp1252 {
QByteArray fromUnicode(QStringView text);
// The characters of text the code page lacks, each once, in order; empty when
// fromUnicode loses nothing.
QString missing(QStringView text);
QString toUnicode(QByteArrayView bytes);
// The byte's lower-case partner within the code page (A-Z, À-Þ, Š, Œ, Ž, Ÿ);
// ß and every other byte stay as they are.
char foldCase(char byte);
QByteArray foldCase(QByteArrayView bytes);
} // namespace Cp1252
