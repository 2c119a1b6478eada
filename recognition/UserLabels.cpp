#include "UserLabels.h"

#include "ParseState.h"
#include "TextOps.h"

#include "support/modZusatzDefs.h"

void ApplyUserDefinitions(LineList &lines)
{
    if (!DefinitionsLoaded)
        return;
    DefinitionHits.clear();
    std::vector<bool> consumed(lines.size(), false);
    bool anyConsumed = false;
    for (const clsZusatzDefs &definition : UserDefinitions) {
        for (size_t p = 0; p < lines.size(); ++p) {
            if (consumed[p] || !lines[p].Text.startsWith(definition.Wert))
                continue;
            const QStringView rest = QStringView(lines[p].Text).sliced(definition.Wert.size());
            DefinitionHits.append(clsZusatzDefs{definition.ID, TrimBlanks(rest).toString()});
            consumed[p] = true;
            anyConsumed = true;
            break;
        }
    }
    if (!anyConsumed)
        return;
    // Removed in one sweep, so many definitions never shift a long list again and again.
    size_t kept = 0;
    for (size_t p = 0; p < lines.size(); ++p) {
        if (!consumed[p])
            lines[kept++] = std::move(lines[p]);
    }
    lines.resize(kept);
}
