#include "Usage.h"

#include "support/CheckedOutput.h"

#include <QByteArray>

#include <cstdio>

namespace {

struct CommandText
{
    const char *name;
    const char *synopsis;
    const char *details;
};

const char *const SettingsOption = "  --settings FILE   read FILE instead of ordalis.ini\n";
const char *const SeparatorOption =
    "  --separator SEP   split the lines at SEP as well, as the separator dialog does\n";

const char *const RecognizerOption =
    "  --recognizer NAME classic (the default) or improved: drops greetings, job titles\n"
    "                    and legal lines, splits names and lines of several values\n";

const CommandText Commands[] = {
    {"recognize",
     "ordalis-cli recognize [--settings FILE] [--separator SEP] [--recognizer NAME]\n"
     "                             [--json] [FILE]\n"
     "       ordalis-cli recognize --jsonl [--jobs N] [--progress | --no-progress]\n"
     "                             [--settings FILE] [--recognizer NAME] [FILE]\n"
     "       ordalis-cli recognize --vcard [--vcard-version 3.0] | --csv [--jsonl] [FILE]\n",
     "Recognises the address in FILE (standard input without FILE or with \"-\") and\n"
     "prints the sixteen field rows.\n"
     "  --json            print one JSON object instead of the table\n"
     "  --jsonl           read one JSON object {\"text\", \"separator\"} per line and\n"
     "                    answer each with one line of JSON, in input order\n"
     "  --jobs N          recognise on N threads (default: one per core)\n"
     "  --progress        show progress on standard error even when it is no terminal\n"
     "  --no-progress     show no progress (default: on a terminal, after a second)\n"
     "  --vcard           print the rows as a contact card (vCard 4.0); with --jsonl\n"
     "                    one card per line read, in input order\n"
     "  --vcard-version V write vCard V: 4.0 or 3.0 (for older address books)\n"
     "  --csv             print the rows as CSV (UTF-8 with byte-order mark, a header\n"
     "                    of the field names); with --jsonl one line per line read\n"},
    {"new-contact",
     "ordalis-cli new-contact  [--settings FILE] [--separator SEP] [--recognizer NAME]\n"
     "                             [--json] [FILE]\n"
     "       ordalis-cli new-contact --carddav-url URL --user NAME [--addressbook NAME]\n"
     "                   [--password-stdin] [--timeout SECONDS] [--create-anyway]\n"
     "                   [--json | --jsonl] [FILE]\n"
     "       ordalis-cli new-contact --carddav [--password-stdin] [...] [FILE]\n",
     "Recognises the address and stores it in ACT! as a new contact, or with\n"
     "--carddav-url or --carddav as a new card in a CardDAV address book.\n"
     "  --json            print the rows and the outcome as one JSON object\n"
     "  --carddav         the address book set up in the window (Adressbuch einrichten)\n"
     "  --carddav-url URL the server, the account or the address book itself\n"
     "  --user NAME       the account; the password comes from ORDALIS_CARDDAV_PASSWORD,\n"
     "                    else from the desktop's keyring\n"
     "  --password-stdin  read the password from the first line of standard input\n"
     "  --addressbook NAME  the address book (needed when the account has several)\n"
     "  --timeout SECONDS give up on the server after SECONDS (1 to 30, default 30)\n"
     "  --create-anyway   write the card even when the address book has the person\n"
     "                    (else that card is reported and remembered for edit-contact)\n"
     "  --jsonl           read one JSON object {\"text\", \"separator\"} per line and\n"
     "                    write one card each, one JSON line per card, in input order\n"
     "A card that cannot be written is kept as Kontakt-....vcf beside the settings.\n"},
    {"edit-contact",
     "ordalis-cli edit-contact [--settings FILE] [--separator SEP] [--recognizer NAME]\n"
     "                             [--json] [FILE]\n"
     "       ordalis-cli edit-contact --carddav-url URL --user NAME [...] [FILE]\n"
     "       ordalis-cli edit-contact --carddav [...] [FILE]\n",
     "Recognises the address and writes it over the contact ACT! shows, or with\n"
     "--carddav-url or --carddav over the card last written or found (the card's\n"
     "other fields stay; a card changed on the server meanwhile is not overwritten).\n"
     "  --json            print the rows and the outcome as one JSON object\n"},
    {"fields", "ordalis-cli fields [--json]\n",
     "Lists ACT!'s fields as number and name (the cached or standard list when\n"
     "ACT! cannot be reached; the exit code is 1 then).\n"
     "  --json            print {\"loaded\", \"fields\"} as JSON\n"},
};

const CommandText *find(const QString &command)
{
    for (const CommandText &text : Commands)
        if (command == QLatin1String(text.name))
            return &text;
    return nullptr;
}

bool takesInputOptions(const CommandText &text)
{
    return qstrcmp(text.name, "fields") != 0;
}

} // namespace

QByteArray ProgramHelp()
{
    QByteArray help = "Usage: ";
    for (const CommandText &text : Commands)
        help += (help.size() > 7 ? "       " : "") + QByteArray(text.synopsis);
    help += "       ordalis-cli [COMMAND] --help\n"
            "\n"
            "Ordalis without a window: recognises a postal address (UTF-8 text) and\n"
            "writes it to ACT! as a contact.\n"
            "\n"
            "Commands:\n"
            "  recognize         print the field rows recognised in the address\n"
            "  new-contact       store the address in ACT! as a new contact\n"
            "  edit-contact      write the address over the contact ACT! shows\n"
            "  fields            list ACT!'s fields\n"
            "\n"
            "Options:\n";
    help += SettingsOption;
    help += SeparatorOption;
    help += RecognizerOption;
    help += "  --json, --jsonl   JSON output (see ordalis-cli COMMAND --help)\n"
            "  -h, --help        this text; after a command, that command's help\n"
            "\n"
            "Exit status: 0 done; 1 nothing recognised, not written or fields not loaded;\n"
            "2 bad usage, an unreadable input or an output that could not be written;\n"
            "3 out of memory.\n"
            "\n"
            "Settings: ordalis.ini in $ORDALIS_HOME when set, else beside the program when\n"
            "that folder is writable, else in ${XDG_CONFIG_HOME:-~/.config}/ordalis.\n";
    return help;
}

QByteArray CommandHelp(const QString &command)
{
    const CommandText *text = find(command);
    if (!text)
        return {};
    QByteArray help = "Usage: " + QByteArray(text->synopsis) + '\n' + text->details;
    if (takesInputOptions(*text)) {
        help += SettingsOption;
        help += SeparatorOption;
        help += RecognizerOption;
    }
    return help;
}

int UsageFailure(const QString &command, const QString &reason)
{
    QByteArray message = "ordalis-cli " + command.toUtf8() + ": " + reason.toUtf8() + '\n';
    if (const CommandText *text = find(command))
        message += "Usage: " + QByteArray(text->synopsis);
    std::fwrite(message.constData(), 1, size_t(message.size()), stderr);
    return ExitFailure;
}

bool WriteStdout(const QString &command, QByteArrayView bytes)
{
    const QString program = command.isEmpty() ? QStringLiteral("ordalis-cli")
                                              : QStringLiteral("ordalis-cli ") + command;
    return CheckedOutput::WriteStandardOutput(program, bytes);
}

int HelpOrUsageFailure(const QString &command, CommandLine::Outcome outcome, const QString &reason)
{
    if (outcome != CommandLine::Outcome::Help)
        return UsageFailure(command, reason);
    return WriteStdout(command, CommandHelp(command)) ? 0 : ExitFailure;
}
