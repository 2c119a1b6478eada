#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The stand-in's command line.
struct StandinOptions
{
    enum class Mode { Window, Headless, Query, Export, Import };

    Mode mode = Mode::Window;
    QString query; // "contacts", "fields" or "commands"
    bool json = false;
    QString file; // export: where to (empty: standard output); import: what
    bool vcard = false;
    bool noDatabase = false;
    std::optional<int> fieldCount;
    bool help = false; // --help or -h: the usage, nothing else
    QString error;     // non-empty when the command line is unusable

    static StandinOptions Parse(const QStringList &arguments); // without the program name
    static QString Usage();
};
