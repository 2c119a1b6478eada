#pragma once

#include <QStringList>

// ordalis-cli recognize [--settings FILE] [--separator SEP] [--json] [FILE]
// ordalis-cli recognize --jsonl [--settings FILE] [FILE]
// Returns the exit code.
int RunRecognizeCommand(const QStringList &arguments);
