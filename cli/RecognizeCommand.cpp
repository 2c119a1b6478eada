#include "RecognizeCommand.h"

#include "InputFile.h"
#include "RowOutput.h"
#include "StderrPresenter.h"
#include "Usage.h"

#include "recognition/ParseAddress.h"
#include "recognition/ParseState.h"

#include "support/FieldRows.h"
#include "support/modZusatzDefs.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cstdio>
#include <optional>

namespace {

constexpr int ExitUsage = 2;

struct Options
{
    QString settings;
    std::optional<QString> separator;
    bool json = false;
    bool jsonLines = false;
    QString inputFile;
};

int fail(const QString &reason)
{
    const QByteArray line = QStringLiteral("ordalis-cli recognize: %1\n").arg(reason).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    return ExitUsage;
}

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

// Gives the options, or a reason why the arguments are not usable.
std::optional<Options> parseOptions(const QStringList &arguments, QString &reason)
{
    Options options;
    bool haveFile = false;
    for (qsizetype k = 0; k < arguments.size(); ++k) {
        const QString &argument = arguments[k];
        const auto value = [&](QString &target) {
            if (k + 1 >= arguments.size()) {
                reason = QStringLiteral("%1 needs a value").arg(argument);
                return false;
            }
            target = arguments[++k];
            return true;
        };
        if (argument == u"--settings") {
            if (!value(options.settings))
                return std::nullopt;
        } else if (argument == u"--separator") {
            QString separator;
            if (!value(separator))
                return std::nullopt;
            options.separator = separator;
        } else if (argument == u"--json") {
            options.json = true;
        } else if (argument == u"--jsonl") {
            options.jsonLines = true;
        } else if (argument.startsWith(u"--") || (argument.startsWith(u'-') && argument != u"-")) {
            reason = QStringLiteral("unknown option %1").arg(argument);
            return std::nullopt;
        } else if (haveFile) {
            reason = QStringLiteral("only one input file may be given");
            return std::nullopt;
        } else {
            haveFile = true;
            options.inputFile = argument == u"-" ? QString() : argument;
        }
    }
    if (options.jsonLines && (options.json || options.separator)) {
        reason = QStringLiteral("--jsonl takes neither --json nor --separator");
        return std::nullopt;
    }
    return options;
}

// One block as the window's capture would take it from the clipboard.
ParseStatus recognize(const QString &text, const QString &separator, FieldRows &rows,
                      QString &clipText)
{
    UserSeparator = separator;
    return CaptureText(text, false, rows, clipText, nullptr);
}

int runSingle(const Options &options, const QString &text, FieldRows &rows)
{
    QString clipText;
    const ParseStatus status =
        recognize(text, options.separator.value_or(QString()), rows, clipText);
    if (options.json)
        writeOut(ParseResultJson(status, clipText, rows) + '\n');
    else
        writeOut(RowTable(rows));
    return ExitCodeFor(status);
}

QByteArray recognizeJsonLine(QByteArrayView line, FieldRows &rows)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError)
        return ErrorJson(QStringLiteral("not JSON: %1").arg(error.errorString()));
    const QJsonObject input = document.object();
    const QJsonValue text = input.value(QStringLiteral("text"));
    const QJsonValue separator = input.value(QStringLiteral("separator"));
    if (!document.isObject() || !text.isString())
        return ErrorJson(QStringLiteral("expected an object with a string \"text\""));
    if (!separator.isUndefined() && !separator.isNull() && !separator.isString())
        return ErrorJson(QStringLiteral("\"separator\" must be a string"));

    // Each block stands alone: no rows or hits carried over from the one before.
    rows.ResetAllRows();
    DefinitionHits.clear();
    QString clipText;
    const ParseStatus status = recognize(text.toString(), separator.toString(), rows, clipText);
    return ParseResultJson(status, clipText, rows);
}

int runJsonLines(const QByteArray &input, FieldRows &rows)
{
    QByteArray out;
    qsizetype from = 0;
    while (from < input.size()) {
        qsizetype end = input.indexOf('\n', from);
        if (end < 0)
            end = input.size();
        QByteArrayView line = QByteArrayView(input).sliced(from, end - from);
        from = end + 1;
        if (line.trimmed().isEmpty())
            continue;
        out += recognizeJsonLine(line, rows);
        out += '\n';
        if (out.size() > (1 << 16)) {
            writeOut(out);
            out.clear();
        }
    }
    writeOut(out);
    return 0;
}

} // namespace

int RunRecognizeCommand(const QStringList &arguments)
{
    QString reason;
    const std::optional<Options> options = parseOptions(arguments, reason);
    if (!options)
        return UsageFailure(QStringLiteral("recognize"), reason);

    StderrPresenter presenter;
    SetMessagePresenter(&presenter);

    FieldRows rows;
    rows.FillStandardCatalogue();
    if (!options->settings.isEmpty()) {
        const QFileInfo settings(options->settings);
        if (!settings.isFile() || !settings.isReadable())
            return fail(QStringLiteral("cannot read settings file %1").arg(options->settings));
        SetSettingsFilePath(settings.absoluteFilePath());
    }
    LoadSettings(rows);

    const std::optional<QByteArray> input = ReadInput(options->inputFile, reason);
    if (!input)
        return fail(reason);

    const int code = options->jsonLines ? runJsonLines(*input, rows)
                                        : runSingle(*options, QString::fromUtf8(*input), rows);
    std::fflush(stdout);
    SetMessagePresenter(nullptr);
    return code;
}
