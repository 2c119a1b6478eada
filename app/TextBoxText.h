#pragma once

#include <QString>

class QPlainTextEdit;

// A multi-line box holds its lines with carriage return + line feed, as the
// parse and the separator preview expect; Qt's editor keeps line feeds only.
QString TextWithCrLf(const QPlainTextEdit &box);
