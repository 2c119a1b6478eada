#pragma once

#include <QString>

struct TextCommandOptions;

// new-contact / edit-contact with --carddav-url: the contact goes into the
// account's address book instead of ACT!. With --jsonl (new-contact) one card
// per input line, one JSON line per card, in input order. The card last
// written or found is remembered beside the settings, so edit-contact goes on
// from it. Returns the exit code: 0 only when every contact was written.
int RunCardDavContactCommand(bool isNew, const TextCommandOptions &options,
                             const QString &settingsFile);
