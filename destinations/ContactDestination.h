#pragma once

class FieldRows;
struct RecognitionContext;
struct Settings;

// Where "Neu Anlegen" and "Bearbeiten" send the rows: ACT! or an address
// book. Every outcome is shown through ShowMessage, as ACT!'s always was.
class ContactDestination
{
public:
    virtual ~ContactDestination() = default;

    // Fills the rows' field lists with the fields this destination takes.
    // False when they could not be loaded (the lists then stay as they were).
    virtual bool LoadFields(FieldRows &rows, const Settings &settings) = 0;

    // Writes the rows as a new contact (isNew) or over the one last written or
    // found. True only when the contact was written.
    virtual bool Write(bool isNew, const FieldRows &rows, const RecognitionContext &context) = 0;
};
