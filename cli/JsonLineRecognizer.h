#pragma once

#include "PlainRequest.h"

#include "support/FieldRows.h"

#include <QByteArrayView>
#include <QString>

#include <string>

struct Settings;

// Answers JSON lines {"text", "separator"} with the recognised rows, one line
// each. Holds its own rows, so one per thread recognises side by side with
// the others; the settings are only read.
class JsonLineRecognizer
{
public:
    JsonLineRecognizer(const FieldRows &catalogue, const Settings &settings);

    // Appends the answer to every non-blank line of lines, each ending in a
    // line feed; returns how many lines were answered.
    qint64 RecognizeLines(QByteArrayView lines, std::string &out);

private:
    // Appends the answer to one line, without a line feed.
    void recognizeLine(QByteArrayView line, std::string &out);
    void recognize(const QString &text, const QString &separator, std::string &out);

    FieldRows m_rows;
    const Settings &m_settings;
    QString m_clipText;
    PlainRequest m_request;
};
