#include "JsonLineRecognizer.h"

#include "CommandMessages.h"
#include "PlainRequest.h"

#include "recognition/ParseAddress.h"
#include "recognition/RecognitionContext.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

using namespace Qt::StringLiterals;

JsonLineRecognizer::JsonLineRecognizer(const FieldRows &catalogue, const Settings &settings,
                                       const BlockOutput &output, Recognizer recognizer)
    : m_settings(settings), m_output(output), m_recognizer(recognizer)
{
    m_rows.CopyCatalogueFrom(catalogue);
    // Nothing listens to these rows; each of the dozens of changes per block
    // then leaves the signal machinery at its first check.
    m_rows.blockSignals(true);
}

qint64 JsonLineRecognizer::RecognizeLines(QByteArrayView lines, BlockAnswers answers)
{
    qint64 answered = 0;
    while (!lines.isEmpty()) {
        qsizetype end = lines.indexOf('\n');
        if (end < 0)
            end = lines.size();
        const QByteArrayView line = lines.first(end);
        lines = lines.sliced(std::min(end + 1, lines.size()));
        if (line.trimmed().isEmpty())
            continue;
        recognizeLine(line, answers);
        ++answered;
    }
    return answered;
}

qint64 JsonLineRecognizer::RefuseLine(const QString &reason, BlockAnswers answers)
{
    m_output.failure(answers, reason);
    return 1;
}

void JsonLineRecognizer::recognizeLine(QByteArrayView line, BlockAnswers &answers)
{
    if (ReadPlainRequest(line, m_request))
        return recognize(m_request.text, m_request.separator, answers);

    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(line.data(), line.size()), &error);
    if (error.error != QJsonParseError::NoError)
        return m_output.failure(answers, u"not JSON: %1"_s.arg(error.errorString()));
    const QJsonObject input = document.object();
    const QJsonValue text = input.value("text"_L1);
    const QJsonValue separator = input.value("separator"_L1);
    if (!document.isObject() || !text.isString())
        return m_output.failure(answers, u"expected an object with a string \"text\""_s);
    if (!separator.isUndefined() && !separator.isNull() && !separator.isString())
        return m_output.failure(answers, u"\"separator\" must be a string"_s);

    recognize(text.toString(), separator.toString(), answers);
}

void JsonLineRecognizer::recognize(const QString &text, const QString &separator,
                                   BlockAnswers &answers)
{
    // Each block stands alone: no rows or hits carried over from the one before.
    m_rows.ResetAllRows();
    RecognitionContext context(m_settings);
    context.UserSeparator = separator;
    context.recognizer = m_recognizer;
    const ParseOutcome outcome = CaptureText(context, text, false, m_rows, m_clipText);
    AppendMessageLine(answers.messages, outcome.message);
    m_output.block(answers.out, outcome.status, m_clipText, m_rows, context);
}
