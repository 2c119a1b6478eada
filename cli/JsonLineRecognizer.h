#pragma once

#include "CardOutput.h"
#include "PlainRequest.h"

#include "recognition/Recognizer.h"

#include "support/FieldRows.h"

#include <QByteArrayView>
#include <QString>

#include <string>

struct Settings;

// Answers JSON lines {"text", "separator"} with the recognised rows, as JSON
// or cards. Holds its own rows, so one per thread recognises side by side
// with the others; the settings and the output are only read.
class JsonLineRecognizer
{
public:
    JsonLineRecognizer(const FieldRows &catalogue, const Settings &settings,
                       const BlockOutput &output, Recognizer recognizer);

    // Appends the answer to every non-blank line of lines; returns how many
    // lines were answered.
    qint64 RecognizeLines(QByteArrayView lines, BlockAnswers answers);
    // Answers one line that was not read with the reason; returns 1.
    qint64 RefuseLine(const QString &reason, BlockAnswers answers);

private:
    void recognizeLine(QByteArrayView line, BlockAnswers &answers);
    void recognize(const QString &text, const QString &separator, BlockAnswers &answers);

    FieldRows m_rows;
    const Settings &m_settings;
    const BlockOutput &m_output;
    Recognizer m_recognizer;
    QString m_clipText;
    PlainRequest m_request;
};
