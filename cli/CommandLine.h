#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

// One command's arguments (what follows the command name) read by
// QCommandLineParser, with every complaint worded as the CLI words it:
// "unknown option --x", "--settings needs a value". -h and --help are known
// to every command; a value is never taken for help ("--separator -h").
class CommandLine
{
public:
    enum class Outcome { Run, Help, BadUsage };

    explicit CommandLine(const QList<QCommandLineOption> &options);

    // reason is set when the outcome is BadUsage.
    Outcome Parse(const QStringList &arguments, QString &reason);

    bool IsSet(const QString &name) const { return m_parser.isSet(name); }
    QString Value(const QString &name) const { return m_parser.value(name); }
    QStringList Positional() const { return m_parser.positionalArguments(); }
    // The parser drops empty arguments; an empty file name (an unset variable
    // in a script) must still be noticed.
    bool HasEmptyArgument() const { return m_hasEmptyArgument; }

private:
    bool takesValue(QStringView argument) const;
    bool hasEmptyArgument(const QStringList &arguments) const;
    QString failureReason(const QStringList &arguments) const;

    QCommandLineParser m_parser;
    QStringList m_valueOptions; // names of the options that take a value
    bool m_hasEmptyArgument = false;
};
