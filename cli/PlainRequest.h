#pragma once

#include <QByteArrayView>
#include <QString>

// What nearly every input line is: {"text": "...", "separator": "..."} with
// string or null values. Reading it directly, without building a JSON
// document, is most of the speed of a batch.
struct PlainRequest
{
    QString text;
    QString separator; // empty: detect
};

// True when line is such an object with a string "text"; false for anything
// else (other value types, a surrogate escape, invalid UTF-8, bad JSON), which
// the full JSON parser then reads and, if need be, words the error for.
bool ReadPlainRequest(QByteArrayView line, PlainRequest &request);
