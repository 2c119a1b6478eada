#include "ContactCommand.h"

#include "CardDavContactCommand.h"
#include "CliActHost.h"
#include "CommandMessages.h"
#include "InputFile.h"
#include "JsonWriter.h"
#include "RowOutput.h"
#include "TextCommandOptions.h"
#include "Usage.h"

#include "act/ActConnection.h"

#include "destinations/ActDestination.h"

#include "recognition/RecognitionContext.h"

#include "support/FieldRows.h"
#include "support/SettingsFile.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int ExitNotWritten = 1;
// The recognize object with the outcome added at its end.
QByteArray outcomeJson(const CliActHost &host, const FieldRows &rows,
                       const RecognitionContext &context, bool written,
                       const CommandMessages &messages)
{
    QByteArray json = ParseResultJson(host.Status(), host.CapturedText(), rows, context);
    json.chop(1); // the closing brace; the object goes on
    json += ",\"written\":";
    json += written ? "true" : "false";
    if (messages.Shown()) {
        json += ",\"message\":";
        json += JsonWriter().String(messages.LastText()).Bytes();
    }
    json += "}\n";
    return json;
}

QByteArray outcomeText(bool isNew, const FieldRows &rows, const RecognitionContext &context,
                       bool written, const CommandMessages &messages)
{
    QByteArray text = RowTable(rows, context) + '\n';
    if (written)
        text += isNew ? "Kontakt wurde erfolgreich angelegt.\n"
                      : "Kontakt wurde erfolgreich bearbeitet.\n";
    else
        text += u"Nicht geschrieben: %1\n"_s.arg(messages.LastText()).toUtf8();
    return text;
}

} // namespace

int RunContactCommand(bool isNew, const QStringList &arguments)
{
    const QString command = isNew ? u"new-contact"_s : u"edit-contact"_s;
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
    if (!options.carddav.url.isEmpty() || options.carddav.storedAccount)
        return RunCardDavContactCommand(isNew, options, *settingsFile);
    const std::optional<QByteArray> input = ReadInput(options.inputFile, reason);
    if (!input)
        return CommandFailure(command, reason);

    CommandMessages messages;
    const Settings settings = LoadSettings(rows, *settingsFile);
    RecognitionContext context(settings);
    context.UserSeparator = options.separator.value_or(QString());
    context.recognizer = options.recognizer;

    CliActHost host(rows, context, QString::fromUtf8(*input), messages);
    ActConnection act;
    ActDestination destination(act, host);
    // As at start-up: a successful field load ends with the capture; after a
    // failed one the cached or standard catalogue stays and the capture follows.
    messages.Say(destination.LoadFields(rows, settings).message);
    if (!host.Captured())
        host.CaptureClipboard();

    const Outcome write = destination.Write(isNew, rows, context);
    messages.Say(write.message);
    const bool written = write.done;
    act.ReleaseActObjects();

    // The contact is stored even when this fails; the exit code says the report was lost.
    if (!WriteStdout(command, options.json ? outcomeJson(host, rows, context, written, messages)
                                           : outcomeText(isNew, rows, context, written, messages)))
        return ExitFailure;
    return written ? 0 : ExitNotWritten;
}
