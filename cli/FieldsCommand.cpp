#include "FieldsCommand.h"

#include "CliActHost.h"
#include "CommandMessages.h"
#include "JsonWriter.h"
#include "Usage.h"

#include "act/ActConnection.h"

#include "recognition/RecognitionContext.h"

#include "support/FieldRows.h"
#include "support/SettingsFile.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int ExitNotLoaded = 1;

// {"loaded": true/false, "fields": [{"number", "name"}, ...]}
QByteArray catalogueJson(const FieldRows &rows, bool loaded)
{
    JsonWriter fields;
    fields.BeginArray();
    for (int position = 0; position < rows.EntryCount(); ++position) {
        const CatalogueEntry &entry = rows.EntryAt(position);
        fields.BeginObject()
            .Key(u"number")
            .Number(entry.FieldNumber)
            .Key(u"name")
            .String(entry.Name)
            .EndObject();
    }
    fields.EndArray();
    return QByteArray("{\"loaded\":") + (loaded ? "true" : "false") +
           ",\"fields\":" + fields.Bytes() + "}\n";
}

QByteArray catalogueText(const FieldRows &rows)
{
    QByteArray text;
    for (int position = 0; position < rows.EntryCount(); ++position) {
        const CatalogueEntry &entry = rows.EntryAt(position);
        text += QByteArray::number(entry.FieldNumber) + '\t' + entry.Name.toUtf8() + '\n';
    }
    return text;
}

} // namespace

int RunFieldsCommand(const QStringList &arguments)
{
    const QString command = u"fields"_s;
    CommandLine line({QCommandLineOption(u"json"_s)});
    QString reason;
    const CommandLine::Outcome outcome = line.Parse(arguments, reason);
    if (outcome != CommandLine::Outcome::Run)
        return HelpOrUsageFailure(command, outcome, reason);
    if (!line.Positional().isEmpty() || line.HasEmptyArgument())
        return UsageFailure(command, u"unknown argument %1"_s.arg(line.Positional().value(0)));
    const bool json = line.IsSet(u"json"_s);

    CommandMessages messages;
    FieldRows rows;
    rows.FillStandardCatalogue();
    const Settings settings = LoadSettings(rows);
    RecognitionContext context(settings);
    CliActHost host(rows, context, std::nullopt, messages);
    ActConnection act;
    const Outcome load = LoadFieldList(rows, settings, act, host);
    messages.Say(load.message);
    const bool loaded = load.done;
    act.ReleaseActObjects();

    if (!WriteStdout(command, json ? catalogueJson(rows, loaded) : catalogueText(rows)))
        return ExitFailure;
    return loaded ? 0 : ExitNotLoaded;
}
