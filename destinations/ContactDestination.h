#pragma once

#include "support/Outcome.h"

class FieldRows;
struct RecognitionContext;
struct Settings;

// Where "Neu Anlegen" and "Bearbeiten" send the rows: ACT! or an address
// book. What the user is to be told comes back in the outcome; the program
// shows it.
class ContactDestination
{
public:
    virtual ~ContactDestination() = default;

    // Fills the rows' field lists with the fields this destination takes.
    // Failed when they could not be loaded (the lists then stay as they were).
    virtual Outcome LoadFields(FieldRows &rows, const Settings &settings) = 0;

    // Writes the rows as a new contact (isNew) or over the one last written or
    // found. Done only when the contact was written.
    virtual Outcome Write(bool isNew, const FieldRows &rows, const RecognitionContext &context) = 0;
};
