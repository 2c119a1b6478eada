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
    if (argument == u"--headless"_s) {
        if (options.mode == Mode::Window)
            options.mode = Mode::Headless;
    } else if (argument == u"--no-database"_s) {
        options.noDatabase = true;
    } else if (argument == u"--json"_s) {
        options.json = true;
    } else if (argument == u"--fields"_s || argument.startsWith(u"--fields="_s)) {
        takeFieldCount(arguments, i, options);
    } else if (isQuery(argument)) {
        takeQuery(argument, options);
    } else {
        options.error = u"Unbekanntes Argument: %1"_s.arg(argument);
    }
    return options.error.isEmpty();
}

} // namespace

StandinOptions StandinOptions::Parse(const QStringList &arguments)
{
    StandinOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (!takeArgument(arguments, i, options))
            return options;
    }
    if (options.json && options.mode != Mode::Query)
        options.error = u"--json gilt nur für contacts, fields und commands."_s;
    else if (options.mode == Mode::Query && (options.noDatabase || options.fieldCount))
        options.error = u"Abfragen ändern nichts: ohne --no-database und --fields."_s;
    return options;
}

QString StandinOptions::Usage()
{
    return u"Aufruf: act-standin [--headless] [--no-database] [--fields N]\n"
           u"        act-standin contacts|fields|commands [--json]\n"_s;
}
