#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The stand-in's command line.
struct StandinOptions
{
    enum class Mode { Window, Headless, Query };

    Mode mode = Mode::Window;
    QString query; // "contacts", "fields" or "commands"
    bool json = false;
    bool noDatabase = false;
    std::optional<int> fieldCount;
    QString error; // non-empty when the command line is unusable

    static StandinOptions Parse(const QStringList &arguments); // without the program name
    static QString Usage();
};
