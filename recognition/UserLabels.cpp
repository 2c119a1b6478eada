#include "UserLabels.h"

#include "RecognitionContext.h"
#include "TextOps.h"

void ApplyUserDefinitions(LineList &lines, RecognitionContext &context)
{
    if (!context.settings.DefinitionsLoaded)
        return;
    context.DefinitionHits.clear();
    std::vector<bool> consumed(lines.size(), false);
    bool anyConsumed = false;
    for (const FieldValue &definition : context.settings.UserDefinitions) {
        for (size_t p = 0; p < lines.size(); ++p) {
            if (consumed[p] || !lines[p].Text.startsWith(definition.value))
                continue;
            const QStringView rest = QStringView(lines[p].Text).sliced(definition.value.size());
            context.DefinitionHits.append(
                FieldValue{definition.field, TrimBlanks(rest).toString()});
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
