#pragma once

#include <QtGlobal>

class ActHost;
class FieldRows;

// The completion dialog's answer: 0 none yet, 1 quit, 2 back to the program.
extern quint8 CompletionChoice;
extern bool LastWriteWasNew;

// Sends the rows to ACT! as a new contact (isNew) or over the contact ACT! shows.
// True only when every call reached ACT!; every outcome is shown through
// ShowMessage or the completion dialog.
bool WriteContact(bool isNew, const FieldRows &rows, ActHost &host);
