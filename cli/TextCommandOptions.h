#pragma once

#include "CardOutput.h"
#include "CommandLine.h"

#include "recognition/Recognizer.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// new-contact and edit-contact into a CardDAV address book.
struct CardDavOptions
{
    QString url;                // empty: ACT!, unless storedAccount
    bool storedAccount = false; // --carddav: the account set up in the window
    QString user;
    QString addressBook;
    bool passwordStdin = false;
    int timeoutSeconds = 30;
    bool createAnyway = false;
};

// The options of the commands that recognise a text (recognize, new-contact,
// edit-contact): [--settings FILE] [--separator SEP] [--recognizer NAME] [--json] [FILE], and
// recognize's batch options.
struct TextCommandOptions
{
    QString settings;
    std::optional<QString> separator;
    Recognizer recognizer = Recognizer::Classic;
    bool json = false;
    bool jsonLines = false;  // recognize only, as are the options below
    int jobs = 0;            // 0: one per core
    bool progress = false;   // forced on
    bool noProgress = false; // forced off
    CardOutputOptions cards;
    CardDavOptions carddav;
    QString inputFile; // empty: standard input
};

// Reads the options of command ("recognize" takes the batch options as well).
// BadUsage comes with the reason; Help when the command's help was asked for.
CommandLine::Outcome ParseTextCommandOptions(const QString &command, const QStringList &arguments,
                                             TextCommandOptions &options, QString &reason);

// The settings file a command reads: FILE when given (no value, with a reason,
// when it cannot be read, so a mistyped path never silently falls back to the
// defaults), else the settings folder's.
std::optional<QString> SettingsFileToUse(const QString &path, QString &reason);

// "ordalis-cli COMMAND: reason" on stderr; returns the exit code 2.
int CommandFailure(const QString &command, const QString &reason);
