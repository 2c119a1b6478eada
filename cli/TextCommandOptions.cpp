#include "TextCommandOptions.h"

#include "support/modZusatzDefs.h"

#include <QFileInfo>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// The one input file; "-" is standard input.
bool takeInputFile(const QString &argument, bool &haveFile, TextCommandOptions &options,
                   QString &reason)
{
    if (argument.isEmpty()) {
        // An unset variable in a script must not turn into a wait for standard input.
        reason = u"the input file name is empty (use - for standard input)"_s;
        return false;
    }
    if (haveFile) {
        reason = u"only one input file may be given"_s;
        return false;
    }
    haveFile = true;
    options.inputFile = argument == u"-" ? QString() : argument;
    return true;
}

// What the options say together; empty when they fit.
QString optionConflict(const TextCommandOptions &options)
{
    if (options.jsonLines && (options.json || options.separator))
        return u"--jsonl takes neither --json nor --separator"_s;
    return CardOptionConflict(options.cards, options.json);
}

} // namespace

std::optional<TextCommandOptions> ParseTextCommandOptions(const QStringList &arguments,
                                                          bool allowJsonLines, QString &reason)
{
    TextCommandOptions options;
    bool haveFile = false;
    for (qsizetype k = 0; k < arguments.size(); ++k) {
        const QString &argument = arguments[k];
        const auto value = [&]() -> std::optional<QString> {
            if (k + 1 >= arguments.size()) {
                reason = u"%1 needs a value"_s.arg(argument);
                return std::nullopt;
            }
            return arguments[++k];
        };
        if (argument == u"--settings") {
            const std::optional<QString> settings = value();
            if (!settings)
                return std::nullopt;
            options.settings = *settings;
        } else if (argument == u"--separator") {
            options.separator = value();
            if (!options.separator)
                return std::nullopt;
        } else if (argument == u"--json") {
            options.json = true;
        } else if (argument == u"--jsonl" && allowJsonLines) {
            options.jsonLines = true;
        } else if (allowJsonLines && TakeCardOption(argument, value, options.cards, reason)) {
            if (!reason.isEmpty())
                return std::nullopt;
        } else if (argument.startsWith(u'-') && argument != u"-") {
            reason = u"unknown option %1"_s.arg(argument);
            return std::nullopt;
        } else if (!takeInputFile(argument, haveFile, options, reason)) {
            return std::nullopt;
        }
    }
    reason = optionConflict(options);
    if (!reason.isEmpty())
        return std::nullopt;
    return options;
}

std::optional<QString> SettingsFileToUse(const QString &path, QString &reason)
{
    if (path.isEmpty())
        return SettingsFilePath();
    const QFileInfo settings(path);
    if (!settings.isFile() || !settings.isReadable()) {
        reason = u"cannot read settings file %1"_s.arg(path);
        return std::nullopt;
    }
    return settings.absoluteFilePath();
}

int CommandFailure(const QString &command, const QString &reason)
{
    const QByteArray line = u"ordalis-cli %1: %2\n"_s.arg(command, reason).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    return 2;
}

void WriteStdout(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}
