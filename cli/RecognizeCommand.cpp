#include "RecognizeCommand.h"

#include "InputFile.h"
#include "RowOutput.h"
#include "StderrPresenter.h"
#include "TextCommandOptions.h"
#include "Usage.h"

#include "recognition/ParseAddress.h"
#include "recognition/RecognitionContext.h"

#include "support/FieldRows.h"
#include "support/modZusatzDefs.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cstdio>

namespace {

// One block as the window's capture would take it from the clipboard.
ParseStatus recognize(RecognitionContext &context, const QString &text, const QString &separator,
                      FieldRows &rows, QString &clipText)
{
    context.UserSeparator = separator;
    return CaptureText(context, text, false, rows, clipText, nullptr);
}

int runSingle(const TextCommandOptions &options, const QString &text, FieldRows &rows,
              const Settings &settings)
{
    RecognitionContext context(settings);
    QString clipText;
    const ParseStatus status =
        recognize(context, text, options.separator.value_or(QString()), rows, clipText);
    if (options.cards.format != CardOutputOptions::Format::None) {
        // Nothing recognised gives no card, so a redirect never saves an empty contact.
        const BlockOutput output = CardBlockOutput(options.cards);
        if (status == ParseStatus::Ok)
            WriteStdout(output.start() + output.block(status, clipText, rows, context));
    } else if (options.json)
        WriteStdout(ParseResultJson(status, clipText, rows, context) + '\n');
    else
        WriteStdout(RowTable(rows, context));
    return ExitCodeFor(status);
}

QByteArray recognizeJsonLine(QByteArrayView line, FieldRows &rows, const Settings &settings,
                             const BlockOutput &output)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError)
        return output.failure(QStringLiteral("not JSON: %1").arg(error.errorString()));
    const QJsonObject input = document.object();
    const QJsonValue text = input.value(QStringLiteral("text"));
    const QJsonValue separator = input.value(QStringLiteral("separator"));
    if (!document.isObject() || !text.isString())
        return output.failure(QStringLiteral("expected an object with a string \"text\""));
    if (!separator.isUndefined() && !separator.isNull() && !separator.isString())
        return output.failure(QStringLiteral("\"separator\" must be a string"));

    // Each block stands alone: no rows or hits carried over from the one before.
    rows.ResetAllRows();
    RecognitionContext context(settings);
    QString clipText;
    const ParseStatus status =
        recognize(context, text.toString(), separator.toString(), rows, clipText);
    return output.block(status, clipText, rows, context);
}

int runJsonLines(const QByteArray &input, FieldRows &rows, const Settings &settings,
                 const BlockOutput &output)
{
    QByteArray out = output.start();
    qsizetype from = 0;
    while (from < input.size()) {
        qsizetype end = input.indexOf('\n', from);
        if (end < 0)
            end = input.size();
        QByteArrayView line = QByteArrayView(input).sliced(from, end - from);
        from = end + 1;
        if (line.trimmed().isEmpty())
            continue;
        out += recognizeJsonLine(line, rows, settings, output);
        if (out.size() > (1 << 16)) {
            WriteStdout(out);
            out.clear();
        }
    }
    WriteStdout(out);
    return 0;
}

BlockOutput jsonLinesOutput(const TextCommandOptions &options)
{
    return options.cards.format == CardOutputOptions::Format::None ? JsonBlockOutput()
                                                                   : CardBlockOutput(options.cards);
}

} // namespace

int RunRecognizeCommand(const QStringList &arguments)
{
    const QString command = QStringLiteral("recognize");
    QString reason;
    const std::optional<TextCommandOptions> options =
        ParseTextCommandOptions(arguments, true, reason);
    if (!options)
        return UsageFailure(command, reason);

    StderrPresenter presenter;
    SetMessagePresenter(&presenter);

    FieldRows rows;
    rows.FillStandardCatalogue();
    const std::optional<QString> settingsFile = SettingsFileToUse(options->settings, reason);
    if (!settingsFile)
        return CommandFailure(command, reason);
    const Settings settings = LoadSettings(rows, *settingsFile);

    const std::optional<QByteArray> input = ReadInput(options->inputFile, reason);
    if (!input)
        return CommandFailure(command, reason);

    const int code = options->jsonLines
                         ? runJsonLines(*input, rows, settings, jsonLinesOutput(*options))
                         : runSingle(*options, QString::fromUtf8(*input), rows, settings);
    std::fflush(stdout);
    SetMessagePresenter(nullptr);
    return code;
}
