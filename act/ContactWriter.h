#pragma once

#include "support/Outcome.h"

class ActConnection;
class ActHost;
class FieldRows;
struct RecognitionContext;

// Sends the rows, then the context's definition hits, to ACT! as a new contact
// (isNew) or over the contact ACT! shows. Done only when every call reached
// ACT!; then the host has shown the completion dialog. A failure carries ACT!'s
// reason for the program to show or leave in the log.
Outcome WriteContact(bool isNew, const FieldRows &rows, const RecognitionContext &context,
                     ActConnection &act, ActHost &host);
