#pragma once

#include <QString>

// The character of `shown` (the text as it was put into a multi-line box) that
// sits at `position` of the box's document. The box turns every line break
// ("\r\n", "\r" or "\n") into one position, so a marked line break yields the
// first character of the break as the text holds it: the carriage return of
// "\r\n". A null character when the position lies outside the text.
QChar MarkedCharacter(const QString &shown, int position);
