#include "ParseState.h"

QString ClipboardText;
QString UserSeparator;
QList<clsZusatzDefs> DefinitionHits;
