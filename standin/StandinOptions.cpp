#include "StandinOptions.h"

using namespace Qt::StringLiterals;

namespace {

// More fields than any contact database has; enough to try a 16-bit overflow.
constexpr int MaxFieldCount = 100000;

} // namespace

StandinOptions StandinOptions::Parse(const QStringList &arguments)
{
    StandinOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"--headless"_s) {
            if (options.mode == Mode::Window)
                options.mode = Mode::Headless;
        } else if (argument == u"--no-database"_s) {
            options.noDatabase = true;
        } else if (argument == u"--json"_s) {
            options.json = true;
        } else if (argument == u"--fields"_s || argument.startsWith(u"--fields="_s)) {
            QString count;
            if (argument.startsWith(u"--fields="_s))
                count = argument.mid(9);
            else if (i + 1 < arguments.size())
                count = arguments[++i];
            bool ok = false;
            const int value = count.toInt(&ok);
            if (!ok || value < 0 || value > MaxFieldCount) {
                options.error = u"--fields erwartet eine Zahl von 0 bis %1."_s.arg(MaxFieldCount);
                return options;
            }
            options.fieldCount = value;
        } else if (argument == u"--vcard"_s) {
            options.vcard = true;
        } else if (argument == u"export"_s || argument == u"import"_s) {
            if (options.mode == Mode::Query || options.mode == Mode::Export ||
                options.mode == Mode::Import) {
                options.error = u"Nur eine Abfrage auf einmal."_s;
                return options;
            }
            options.mode = argument == u"export"_s ? Mode::Export : Mode::Import;
        } else if ((options.mode == Mode::Export || options.mode == Mode::Import) &&
                   options.file.isEmpty() && !argument.startsWith(u'-')) {
            options.file = argument;
        } else if (argument == u"contacts"_s || argument == u"fields"_s ||
                   argument == u"commands"_s) {
            if (options.mode == Mode::Query) {
                options.error = u"Nur eine Abfrage auf einmal."_s;
                return options;
            }
            options.mode = Mode::Query;
            options.query = argument;
        } else {
            options.error = u"Unbekanntes Argument: %1"_s.arg(argument);
            return options;
        }
    }
    const bool transfer = options.mode == Mode::Export || options.mode == Mode::Import;
    if (options.mode == Mode::Export && !options.vcard)
        options.error = u"export schreibt vCards: act-standin export --vcard [DATEI]"_s;
    else if (options.mode == Mode::Import && options.file.isEmpty())
        options.error = u"import erwartet eine .vcf-Datei: act-standin import DATEI.vcf"_s;
    else if (options.vcard && options.mode != Mode::Export && options.mode != Mode::Import)
        options.error = u"--vcard gilt nur für export und import."_s;
    else if (transfer && (options.noDatabase || options.fieldCount || options.json))
        options.error = u"export und import: ohne --no-database, --fields und --json."_s;
    else if (options.json && options.mode != Mode::Query)
        options.error = u"--json gilt nur für contacts, fields und commands."_s;
    else if (options.mode == Mode::Query && (options.noDatabase || options.fieldCount))
        options.error = u"Abfragen ändern nichts: ohne --no-database und --fields."_s;
    return options;
}

QString StandinOptions::Usage()
{
    return u"Aufruf: act-standin [--headless] [--no-database] [--fields N]\n"
           u"        act-standin contacts|fields|commands [--json]\n"
           u"        act-standin export --vcard [DATEI]\n"
           u"        act-standin import DATEI.vcf\n"_s;
}
