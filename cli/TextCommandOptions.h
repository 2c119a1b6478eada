#pragma once

#include "CardOutput.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The options of the commands that recognise a text (recognize, new-contact,
// edit-contact): [--settings FILE] [--separator SEP] [--json] [FILE].
struct TextCommandOptions
{
    QString settings;
    std::optional<QString> separator;
    bool json = false;
    bool jsonLines = false;  // recognize only
    QString inputFile;       // empty: standard input
    CardOutputOptions cards; // recognize only
};

// The options, or nullopt with the reason why the arguments are not usable.
std::optional<TextCommandOptions> ParseTextCommandOptions(const QStringList &arguments,
                                                          bool allowJsonLines, QString &reason);

// The settings file a command reads: FILE when given (no value, with a reason,
// when it cannot be read, so a mistyped path never silently falls back to the
// defaults), else the settings folder's.
std::optional<QString> SettingsFileToUse(const QString &path, QString &reason);

// "ordalis-cli COMMAND: reason" on stderr; returns the exit code 2.
int CommandFailure(const QString &command, const QString &reason);

void WriteStdout(const QByteArray &bytes);
