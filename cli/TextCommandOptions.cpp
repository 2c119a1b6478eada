#include "TextCommandOptions.h"

#include "Usage.h"

#include "support/SettingsFile.h"

#include <QFileInfo>
#include <QUrl>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int MostJobs = 256;

struct Flag
{
    const char16_t *name;
    bool TextCommandOptions::*member;
    bool recognizeOnly;
};

// Adding a switch is one line here and one member.
const Flag Flags[] = {
    {u"json", &TextCommandOptions::json, false},
    {u"jsonl", &TextCommandOptions::jsonLines, false},
    {u"progress", &TextCommandOptions::progress, true},
    {u"no-progress", &TextCommandOptions::noProgress, true},
};

QList<QCommandLineOption> optionsOf(bool recognize)
{
    QList<QCommandLineOption> options{{u"settings"_s, QString(), u"FILE"_s},
                                      {u"separator"_s, QString(), u"SEP"_s},
                                      {u"recognizer"_s, QString(), u"NAME"_s}};
    if (!recognize) {
        options.append({{u"carddav-url"_s, QString(), u"URL"_s},
                        {u"user"_s, QString(), u"NAME"_s},
                        {u"addressbook"_s, QString(), u"NAME"_s},
                        QCommandLineOption(u"password-stdin"_s),
                        {u"timeout"_s, QString(), u"SECONDS"_s},
                        QCommandLineOption(u"create-anyway"_s)});
    } else {
        options.append({{u"jobs"_s, QString(), u"N"_s},
                        QCommandLineOption(u"vcard"_s),
                        QCommandLineOption(u"csv"_s),
                        {u"vcard-version"_s, QString(), u"V"_s}});
    }
    for (const Flag &flag : Flags) {
        if (recognize || !flag.recognizeOnly)
            options.append(QCommandLineOption(QString::fromUtf16(flag.name)));
    }
    return options;
}

// What is wrong with options taken one by one, or nothing.
QString conflict(const TextCommandOptions &options)
{
    if (options.jsonLines && (options.json || options.separator))
        return u"--jsonl takes neither --json nor --separator"_s;
    if (options.progress && options.noProgress)
        return u"--progress and --no-progress exclude each other"_s;
    if (!options.jsonLines && (options.jobs != 0 || options.progress || options.noProgress))
        return u"--jobs, --progress and --no-progress go with --jsonl"_s;
    return CardOptionConflict(options.cards, options.json);
}

QString readCardDav(const CommandLine &line, CardDavOptions &options, bool jsonLines)
{
    options.url = line.Value(u"carddav-url"_s);
    options.user = line.Value(u"user"_s);
    options.addressBook = line.Value(u"addressbook"_s);
    options.passwordStdin = line.IsSet(u"password-stdin"_s);
    options.createAnyway = line.IsSet(u"create-anyway"_s);
    const bool account = line.IsSet(u"carddav-url"_s);
    if (line.IsSet(u"timeout"_s)) {
        bool number = false;
        options.timeoutSeconds = line.Value(u"timeout"_s).toInt(&number);
        if (!number || options.timeoutSeconds < 1 || options.timeoutSeconds > 30)
            return u"--timeout takes a number of seconds from 1 to 30"_s;
    }
    const QUrl url(options.url, QUrl::StrictMode);
    if (account && (!url.isValid() || url.host().isEmpty() ||
                    (url.scheme() != u"http" && url.scheme() != u"https")))
        return u"--carddav-url takes an http or https address, not %1"_s.arg(options.url);
    if (account && options.user.isEmpty())
        return u"--carddav-url needs --user"_s;
    if (!account &&
        (line.IsSet(u"user"_s) || line.IsSet(u"addressbook"_s) || options.passwordStdin ||
         line.IsSet(u"timeout"_s) || options.createAnyway || jsonLines))
        return u"--user, --addressbook, --password-stdin, --timeout, --create-anyway and --jsonl "
               u"go with --carddav-url"_s;
    return {};
}

// recognize's own options; asking the parser about an option it was not given
// makes it warn on every run.
QString readRecognizeValues(const CommandLine &line, TextCommandOptions &options)
{
    if (line.IsSet(u"jobs"_s)) {
        bool number = false;
        options.jobs = line.Value(u"jobs"_s).toInt(&number);
        if (!number || options.jobs < 1 || options.jobs > MostJobs)
            return u"--jobs takes a number from 1 to %1"_s.arg(MostJobs);
    }
    return CardOptionsFrom(line.IsSet(u"vcard"_s), line.IsSet(u"csv"_s),
                           line.IsSet(u"vcard-version"_s)
                               ? std::optional(line.Value(u"vcard-version"_s))
                               : std::nullopt,
                           options.cards);
}

QString readValues(const CommandLine &line, bool recognize, TextCommandOptions &options)
{
    options.settings = line.Value(u"settings"_s);
    if (line.IsSet(u"separator"_s))
        options.separator = line.Value(u"separator"_s);
    if (line.IsSet(u"recognizer"_s)) {
        const std::optional<Recognizer> recognizer = RecognizerNamed(line.Value(u"recognizer"_s));
        if (!recognizer)
            return u"--recognizer takes classic or improved"_s;
        options.recognizer = *recognizer;
    }
    for (const Flag &flag : Flags) {
        if (recognize || !flag.recognizeOnly)
            options.*flag.member = line.IsSet(QString::fromUtf16(flag.name));
    }
    const QString reason = recognize ? readRecognizeValues(line, options)
                                     : readCardDav(line, options.carddav, options.jsonLines);
    if (!reason.isEmpty())
        return reason;

    const QStringList files = line.Positional();
    if (line.HasEmptyArgument())
        return u"the input file name is empty (use - for standard input)"_s;
    if (files.size() > 1)
        return u"only one input file may be given"_s;
    if (!files.isEmpty() && files.first() != u"-")
        options.inputFile = files.first();
    return conflict(options);
}

} // namespace

CommandLine::Outcome ParseTextCommandOptions(const QString &command, const QStringList &arguments,
                                             TextCommandOptions &options, QString &reason)
{
    const bool recognize = command == u"recognize";
    CommandLine line(optionsOf(recognize));
    const CommandLine::Outcome outcome = line.Parse(arguments, reason);
    if (outcome != CommandLine::Outcome::Run)
        return outcome;
    reason = readValues(line, recognize, options);
    return reason.isEmpty() ? outcome : CommandLine::Outcome::BadUsage;
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
    return ExitFailure;
}
