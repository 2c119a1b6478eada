#pragma once

#include <QStringList>

// ordalis-cli fields [--json]
// Runs the field load from the running ACT! and prints the catalogue the rows
// then offer (field number, name), in the lists' order. The field cache is
// written when the settings switch it on. Exit code 0 when the load succeeded.
int RunFieldsCommand(const QStringList &arguments);
