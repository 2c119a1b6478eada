#include "RecognizeCommand.h"

#include "CardOutput.h"
#include "CommandMessages.h"
#include "InputFile.h"
#include "JsonLinesPipeline.h"
#include "LineBatchReader.h"
#include "ProgressLine.h"
#include "RowOutput.h"
#include "StreamIo.h"
#include "TextCommandOptions.h"
#include "Usage.h"

#include "recognition/ParseAddress.h"
#include "recognition/RecognitionContext.h"

#include "support/FieldRows.h"
#include "support/SettingsFile.h"

#include <QFile>
#include <QThread>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int ExitInterrupted = 130; // as a shell reports a Ctrl-C

int runSingle(const TextCommandOptions &options, const QString &text, FieldRows &rows,
              const Settings &settings)
{
    const QString command = u"recognize"_s;
    RecognitionContext context(settings);
    context.UserSeparator = options.separator.value_or(QString());
    context.recognizer = options.recognizer;
    QString clipText;
    const ParseOutcome outcome = CaptureText(context, text, false, rows, clipText);
    CommandMessages().Say(outcome.message);
    const ParseStatus status = outcome.status;
    if (options.cards.format != CardOutputOptions::Format::None) {
        // Nothing recognised gives no card, so a redirect never saves an empty contact.
        if (status == ParseStatus::Ok) {
            const BlockOutput output = CardBlockOutput(options.cards);
            std::string card;
            output.block(card, status, clipText, rows, context);
            if (!WriteStdout(command,
                             output.start() + QByteArray(card.data(), qsizetype(card.size()))))
                return ExitFailure;
        }
    } else if (!WriteStdout(command, options.json
                                         ? ParseResultJson(status, clipText, rows, context) + '\n'
                                         : RowTable(rows, context))) {
        return ExitFailure;
    }
    return ExitCodeFor(status);
}

ProgressLine::Mode progressMode(const TextCommandOptions &options)
{
    if (options.noProgress)
        return ProgressLine::Mode::Off;
    return options.progress ? ProgressLine::Mode::Forced : ProgressLine::Mode::OnTerminal;
}

int runJsonLines(const TextCommandOptions &options, const FieldRows &rows, const Settings &settings)
{
    const QString command = u"recognize"_s;
    const QString &path = options.inputFile;
    // QFile words the reason a file cannot be read and knows its size.
    QFile input(path);
    const bool opened = path.isEmpty() ? input.open(StreamIo::StandardInput, QIODevice::ReadOnly)
                                       : input.open(QIODevice::ReadOnly);
    const int fd = path.isEmpty() ? StreamIo::StandardInput : StreamIo::OpenForReading(path);
    if (!opened || fd < 0)
        return CommandFailure(command,
                              u"cannot read %1: %2"_s.arg(InputName(path), input.errorString()));
    const BlockOutput output = options.cards.format == CardOutputOptions::Format::None
                                   ? JsonBlockOutput(rows)
                                   : CardBlockOutput(options.cards);
    if (!WriteStdout(command, output.start()))
        return ExitFailure;
    ProgressLine progress(progressMode(options), input.isSequential() ? -1 : input.size());
    LineBatchReader reader(fd, MaxTextBytes);
    StreamIo::CatchInterrupt();
    const int jobs = options.jobs > 0 ? options.jobs : QThread::idealThreadCount();
    JsonLinesPipeline pipeline(rows, settings, output, options.recognizer, jobs, progress);
    const bool written = pipeline.Run(reader);
    progress.Clear();
    if (fd != StreamIo::StandardInput)
        StreamIo::Close(fd);
    if (!written)
        return CommandFailure(command,
                              u"cannot write standard output: %1"_s.arg(pipeline.WriteFailure()));
    if (!reader.Error().isEmpty())
        return CommandFailure(command,
                              u"cannot read %1: %2"_s.arg(InputName(path), reader.Error()));
    return StreamIo::Interrupted() ? ExitInterrupted : 0;
}

} // namespace

int RunRecognizeCommand(const QStringList &arguments)
{
    const QString command = u"recognize"_s;
    QString reason;
    TextCommandOptions options;
    const CommandLine::Outcome outcome =
        ParseTextCommandOptions(command, arguments, options, reason);
    if (outcome != CommandLine::Outcome::Run)
        return HelpOrUsageFailure(command, outcome, reason);

    FieldRows rows;
    rows.FillStandardCatalogue();
    const std::optional<QString> settingsFile = SettingsFileToUse(options.settings, reason);
    if (!settingsFile)
        return CommandFailure(command, reason);
    const Settings settings = LoadSettings(rows, *settingsFile);

    int code = 0;
    if (options.jsonLines) {
        code = runJsonLines(options, rows, settings);
    } else if (const std::optional<QByteArray> input = ReadInput(options.inputFile, reason)) {
        code = runSingle(options, QString::fromUtf8(*input), rows, settings);
    } else {
        code = CommandFailure(command, reason);
    }
    return code;
}
