#include "ActDestination.h"

#include "act/ActConnection.h"
#include "act/ContactWriter.h"

bool ActDestination::LoadFields(FieldRows &rows, const Settings &settings)
{
    return LoadFieldList(rows, settings, m_act, m_host);
}

bool ActDestination::Write(bool isNew, const FieldRows &rows, const RecognitionContext &context)
{
    return WriteContact(isNew, rows, context, m_act, m_host);
}
