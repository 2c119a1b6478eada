#pragma once

#include "Recognizer.h"

#include "support/FieldValue.h"
#include "support/SettingsFile.h"

#include <QList>
#include <QString>

// What one window, CLI run or test recognises with: the settings it reads and
// what one capture leaves for the next step.
struct RecognitionContext
{
    explicit RecognitionContext(const Settings &settings) : settings(settings) {}

    // Read, never copied, so settings loaded later reach the next parse.
    const Settings &settings;
    // The clipboard's text as the last capture fetched it, line feeds taken as
    // CR LF (the separator dialog shows and previews it).
    QString ClipboardText;
    // Which recognizer parses; the window and the CLI let the user choose.
    Recognizer recognizer = Recognizer::Classic;
    // The separator accepted in the separator dialog; empty: detect automatically.
    QString UserSeparator;
    // What the user-defined labels found in the last parse that looked for them.
    QList<FieldValue> DefinitionHits;

    // The hits that count: none while no definitions are loaded.
    QList<FieldValue> LoadedDefinitionHits() const
    {
        return settings.DefinitionsLoaded ? DefinitionHits : QList<FieldValue>();
    }
};
