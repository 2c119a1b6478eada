#include "StandinOptions.h"

using namespace Qt::StringLiterals;

namespace {

using Mode = StandinOptions::Mode;

// More fields than any contact database has; enough to try a 16-bit overflow.
constexpr int MaxFieldCount = 100000;

bool isQuery(const QString &argument)
{
    return argument == u"contacts"_s || argument == u"fields"_s || argument == u"commands"_s;
}

// --fields N or --fields=N; i moves past N.
void takeFieldCount(const QStringList &arguments, qsizetype &i, StandinOptions &options)
{
    const QString &argument = arguments[i];
    QString count;
    if (argument.startsWith(u"--fields="_s))
        count = argument.mid(9);
    else if (i + 1 < arguments.size())
        count = arguments[++i];
    bool ok = false;
    const int value = count.toInt(&ok);
    if (!ok || value < 0 || value > MaxFieldCount)
        options.error = u"--fields erwartet eine Zahl von 0 bis %1."_s.arg(MaxFieldCount);
    else
        options.fieldCount = value;
}

bool isTransfer(Mode mode)
{
    return mode == Mode::Export || mode == Mode::Import;
}

void takeTransfer(const QString &argument, StandinOptions &options)
{
    if (options.mode == Mode::Query || isTransfer(options.mode)) {
        options.error = u"Nur eine Abfrage auf einmal."_s;
        return;
    }
    options.mode = argument == u"export"_s ? Mode::Export : Mode::Import;
}

void takeQuery(const QString &argument, StandinOptions &options)
{
    if (options.mode == Mode::Query) {
        options.error = u"Nur eine Abfrage auf einmal."_s;
        return;
    }
    options.mode = Mode::Query;
    options.query = argument;
}

// The argument at i, with its value; false when it makes the command line unusable.
bool takeArgument(const QStringList &arguments, qsizetype &i, StandinOptions &options)
{
    const QString &argument = arguments[i];
    if (argument == u"--help"_s || argument == u"-h"_s) {
        options.help = true;
    } else if (argument == u"--headless"_s) {
        if (options.mode == Mode::Window)
            options.mode = Mode::Headless;
    } else if (argument == u"--no-database"_s) {
        options.noDatabase = true;
    } else if (argument == u"--json"_s) {
        options.json = true;
    } else if (argument == u"--fields"_s || argument.startsWith(u"--fields="_s)) {
        takeFieldCount(arguments, i, options);
    } else if (argument == u"--vcard"_s) {
        options.vcard = true;
    } else if (argument == u"export"_s || argument == u"import"_s) {
        takeTransfer(argument, options);
    } else if (isTransfer(options.mode) && options.file.isEmpty() && !argument.startsWith(u'-')) {
        options.file = argument;
    } else if (isQuery(argument)) {
        takeQuery(argument, options);
    } else {
        options.error = u"Unbekanntes Argument: %1"_s.arg(argument);
    }
    return options.error.isEmpty();
}

// What the arguments say together; empty when they fit.
QString combinationError(const StandinOptions &options)
{
    if (options.mode == Mode::Export && !options.vcard)
        return u"export schreibt vCards: act-standin export --vcard [DATEI]"_s;
    if (options.mode == Mode::Import && options.file.isEmpty())
        return u"import erwartet eine .vcf-Datei: act-standin import DATEI.vcf"_s;
    if (options.vcard && !isTransfer(options.mode))
        return u"--vcard gilt nur für export und import."_s;
    if (isTransfer(options.mode) && (options.noDatabase || options.fieldCount || options.json))
        return u"export und import: ohne --no-database, --fields und --json."_s;
    if (options.json && options.mode != Mode::Query)
        return u"--json gilt nur für contacts, fields und commands."_s;
    if (options.mode == Mode::Query && (options.noDatabase || options.fieldCount))
        return u"Abfragen ändern nichts: ohne --no-database und --fields."_s;
    return {};
}

} // namespace

StandinOptions StandinOptions::Parse(const QStringList &arguments)
{
    StandinOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (!takeArgument(arguments, i, options) || options.help)
            return options;
    }
    if (!options.help)
        options.error = combinationError(options);
    return options;
}

QString StandinOptions::Usage()
{
    return u"Aufruf: act-standin [--headless] [--no-database] [--fields N]\n"
           u"        act-standin contacts|fields|commands [--json]\n"
           u"        act-standin export --vcard [DATEI]\n"
           u"        act-standin import DATEI.vcf\n"
           u"        act-standin --help\n"
           u"\n"
           u"Der Stellvertreter von ACT!: eine Kontaktverwaltung auf SQLite. Ohne Abfrage\n"
           u"läuft er mit Fenster (--headless: ohne) bis zum Beenden; solange er läuft,\n"
           u"gilt ACT! als geöffnet.\n"
           u"  --no-database     läuft, aber ohne geöffnete Datenbank\n"
           u"  --fields N        legt eine neue Datenbank mit N Feldern an\n"
           u"  contacts, fields, commands\n"
           u"                    listet Kontakte, Felder oder die Befehle aus actcmd.ini\n"
           u"  --json            dieselbe Liste als JSON\n"
           u"  export --vcard    alle Kontakte als vCard 4.0, in DATEI oder auf stdout\n"
           u"  import DATEI.vcf  jede lesbare Karte als neuen Kontakt\n"
           u"\n"
           u"Umgebung:\n"
           u"  ACT_STANDIN_HOME      Datenordner (contacts.sqlite, actcmd.ini, Sperrdatei);\n"
           u"                        sonst ${XDG_DATA_HOME:-~/.local/share}/act-standin\n"
           u"  ACT_STANDIN_REGISTRY  Registrierungsdatei, in der der laufende Stellvertreter\n"
           u"                        seinen Ordner einträgt; sonst\n"
           u"                        ${XDG_CONFIG_HOME:-~/.config}/act-standin/registry.ini\n"
           u"\n"
           u"import liest vCards 2.1, 3.0 und 4.0 (ohne VERSION: 3.0) und meldet je Karte,\n"
           u"was kein Feld aufnimmt.\n"
           u"\n"
           u"Exit-Status: 0 erledigt (import: alle Karten vollständig übernommen);\n"
           u"1 fehlgeschlagen (auch eine Ausgabe, die sich nicht schreiben ließ; import:\n"
           u"Karten übersprungen oder nichts übernommen); 2 falscher Aufruf; 3 (import)\n"
           u"alle Karten übernommen, aber Werte weggelassen.\n"_s;
}
