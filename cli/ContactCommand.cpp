#include "ContactCommand.h"

#include "CliActHost.h"
#include "InputFile.h"
#include "JsonWriter.h"
#include "RecordingPresenter.h"
#include "RowOutput.h"
#include "Usage.h"

#include "act/ActConnection.h"
#include "act/ContactWriter.h"

#include "support/FieldRows.h"
#include "support/modZusatzDefs.h"

#include <QFileInfo>

#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int ExitNotWritten = 1;
constexpr int ExitUsage = 2;

struct Options
{
    QString settings;
    QString separator;
    bool json = false;
    QString inputFile;
};

int fail(const QString &command, const QString &reason)
{
    const QByteArray line = u"ordalis-cli %1: %2\n"_s.arg(command, reason).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    return ExitUsage;
}

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

std::optional<Options> parseOptions(const QStringList &arguments, QString &reason)
{
    Options options;
    bool haveFile = false;
    for (qsizetype k = 0; k < arguments.size(); ++k) {
        const QString &argument = arguments[k];
        const auto value = [&](QString &target) {
            if (k + 1 >= arguments.size()) {
                reason = u"%1 needs a value"_s.arg(argument);
                return false;
            }
            target = arguments[++k];
            return true;
        };
        if (argument == u"--settings") {
            if (!value(options.settings))
                return std::nullopt;
        } else if (argument == u"--separator") {
            if (!value(options.separator))
                return std::nullopt;
        } else if (argument == u"--json") {
            options.json = true;
        } else if (argument.startsWith(u'-') && argument != u"-") {
            reason = u"unknown option %1"_s.arg(argument);
            return std::nullopt;
        } else if (haveFile) {
            reason = u"only one input file may be given"_s;
            return std::nullopt;
        } else {
            haveFile = true;
            options.inputFile = argument == u"-" ? QString() : argument;
        }
    }
    return options;
}

// The recognize object with the outcome added at its end.
QByteArray outcomeJson(const CliActHost &host, const FieldRows &rows, bool written,
                       const RecordingPresenter &messages)
{
    QByteArray json = ParseResultJson(host.Status(), host.CapturedText(), rows);
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

QByteArray outcomeText(bool isNew, const FieldRows &rows, bool written,
                       const RecordingPresenter &messages)
{
    QByteArray text = RowTable(rows) + '\n';
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
    const std::optional<Options> options = parseOptions(arguments, reason);
    if (!options)
        return UsageFailure(command, reason);

    FieldRows rows;
    rows.FillStandardCatalogue();
    if (!options->settings.isEmpty()) {
        const QFileInfo settings(options->settings);
        if (!settings.isFile() || !settings.isReadable())
            return fail(command, u"cannot read settings file %1"_s.arg(options->settings));
        SetSettingsFilePath(settings.absoluteFilePath());
    }
    const std::optional<QByteArray> input = ReadInput(options->inputFile, reason);
    if (!input)
        return fail(command, reason);

    RecordingPresenter messages;
    SetMessagePresenter(&messages);
    LoadSettings(rows);

    CliActHost host(rows, QString::fromUtf8(*input), options->separator);
    // As at start-up: a successful field load ends with the capture; after a
    // failed one the cached or standard catalogue stays and the capture follows.
    LoadFieldList(rows, host);
    if (!host.Captured())
        host.CaptureClipboard();

    const bool written = WriteContact(isNew, rows, host);
    ReleaseActObjects();

    writeOut(options->json ? outcomeJson(host, rows, written, messages)
                           : outcomeText(isNew, rows, written, messages));
    SetMessagePresenter(nullptr);
    return written ? 0 : ExitNotWritten;
}
