#pragma once

class ActConnection;
class ActHost;
class FieldRows;
struct RecognitionContext;

// Sends the rows, then the context's definition hits, to ACT! as a new contact
// (isNew) or over the contact ACT! shows. True only when every call reached
// ACT!; every outcome is shown through ShowMessage or the completion dialog.
bool WriteContact(bool isNew, const FieldRows &rows, const RecognitionContext &context,
                  ActConnection &act, ActHost &host);
