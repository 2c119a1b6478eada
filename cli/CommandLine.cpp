#include "CommandLine.h"

using namespace Qt::StringLiterals;

namespace {

// "--settings=FILE" -> "settings"
QStringView optionName(QStringView argument)
{
    while (argument.startsWith(u'-'))
        argument = argument.sliced(1);
    const qsizetype equals = argument.indexOf(u'=');
    return equals < 0 ? argument : argument.first(equals);
}

bool isOption(QStringView argument)
{
    return argument.size() > 1 && argument.startsWith(u'-');
}

} // namespace

CommandLine::CommandLine(const QList<QCommandLineOption> &options)
{
    // "-json" is the option json, never the letters j, s, o, n.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(QCommandLineOption(QStringList{u"h"_s, u"help"_s}));
    for (const QCommandLineOption &option : options) {
        m_parser.addOption(option);
        if (!option.valueName().isEmpty())
            m_valueOptions += option.names();
    }
}

CommandLine::Outcome CommandLine::Parse(const QStringList &arguments, QString &reason)
{
    // The parser expects the program name first.
    const bool parsed = m_parser.parse(QStringList{QString()} + arguments);
    if (m_parser.isSet(u"help"_s))
        return Outcome::Help;
    m_hasEmptyArgument = hasEmptyArgument(arguments);
    if (parsed)
        return Outcome::Run;
    reason = failureReason(arguments);
    return Outcome::BadUsage;
}

bool CommandLine::takesValue(QStringView argument) const
{
    return isOption(argument) && !argument.contains(u'=') &&
           m_valueOptions.contains(optionName(argument));
}

bool CommandLine::hasEmptyArgument(const QStringList &arguments) const
{
    bool optionsEnded = false;
    for (qsizetype k = 0; k < arguments.size(); ++k) {
        if (arguments[k].isEmpty())
            return true;
        if (optionsEnded)
            continue;
        if (arguments[k] == u"--")
            optionsEnded = true;
        else if (takesValue(arguments[k]))
            ++k; // the value may be empty: "--separator ''" asks for detection
    }
    return false;
}

QString CommandLine::failureReason(const QStringList &arguments) const
{
    const QStringList unknown = m_parser.unknownOptionNames();
    for (const QString &argument : arguments) {
        if (!unknown.isEmpty() && isOption(argument) && optionName(argument) == unknown.first())
            return u"unknown option %1"_s.arg(argument);
    }
    if (!arguments.isEmpty() && takesValue(arguments.last()))
        return u"%1 needs a value"_s.arg(arguments.last());
    for (const QString &argument : arguments) {
        const QStringView name = optionName(argument);
        if (isOption(argument) && argument.contains(u'=') && !m_valueOptions.contains(name))
            return u"%1 takes no value"_s.arg(argument.first(argument.indexOf(u'=')));
    }
    return m_parser.errorText();
}
