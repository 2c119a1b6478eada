#include "JsonLineRecognizer.h"

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

qint64 JsonLineRecognizer::RecognizeLines(QByteArrayView lines, std::string &out)
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
        recognizeLine(line, out);
        ++answered;
    }
    return answered;
}

qint64 JsonLineRecognizer::RefuseLine(const QString &reason, std::string &out)
{
    m_output.failure(out, reason);
    return 1;
}

void JsonLineRecognizer::recognizeLine(QByteArrayView line, std::string &out)
{
    if (ReadPlainRequest(line, m_request))
        return recognize(m_request.text, m_request.separator, out);

    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(line.data(), line.size()), &error);
    if (error.error != QJsonParseError::NoError)
        return m_output.failure(out, u"not JSON: %1"_s.arg(error.errorString()));
    const QJsonObject input = document.object();
    const QJsonValue text = input.value("text"_L1);
    const QJsonValue separator = input.value("separator"_L1);
    if (!document.isObject() || !text.isString())
        return m_output.failure(out, u"expected an object with a string \"text\""_s);
    if (!separator.isUndefined() && !separator.isNull() && !separator.isString())
        return m_output.failure(out, u"\"separator\" must be a string"_s);

    recognize(text.toString(), separator.toString(), out);
}

void JsonLineRecognizer::recognize(const QString &text, const QString &separator, std::string &out)
{
    // Each block stands alone: no rows or hits carried over from the one before.
    m_rows.ResetAllRows();
    RecognitionContext context(m_settings);
    context.UserSeparator = separator;
    context.recognizer = m_recognizer;
    const ParseStatus status = CaptureText(context, text, false, m_rows, m_clipText, nullptr);
    m_output.block(out, status, m_clipText, m_rows, context);
}
