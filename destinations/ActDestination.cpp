#include "ActDestination.h"

#include "act/ActConnection.h"
#include "act/ContactWriter.h"

Outcome ActDestination::LoadFields(FieldRows &rows, const Settings &settings)
{
    return LoadFieldList(rows, settings, m_act, m_host);
}

Outcome ActDestination::Write(bool isNew, const FieldRows &rows, const RecognitionContext &context)
{
    return WriteContact(isNew, rows, context, m_act, m_host);
}
