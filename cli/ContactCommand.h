#pragma once

#include <QStringList>

// ordalis-cli new-contact  [--settings FILE] [--separator SEP] [--json] [FILE]
// ordalis-cli edit-contact [--settings FILE] [--separator SEP] [--json] [FILE]
// Loads ACT!'s field list as the program's start-up does, recognises the text
// and writes it as a new contact (isNew) or over the contact ACT! shows.
// Returns the exit code: 0 only when the contact was written.
int RunContactCommand(bool isNew, const QStringList &arguments);
