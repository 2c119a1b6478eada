#pragma once

#include "support/clsZusatzDefs.h"

#include <QList>
#include <QString>

// The clipboard's text as the last capture fetched it, line feeds taken as
// CR LF (the separator dialog shows and previews it).
extern QString ClipboardText;
// The separator accepted in the separator dialog; empty: detect automatically.
extern QString UserSeparator;
// What the user-defined labels found in the last parse that looked for them.
extern QList<clsZusatzDefs> DefinitionHits;
