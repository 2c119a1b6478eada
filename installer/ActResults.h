#pragma once

#include <QVariant>

// How the installer reads ACT!'s answers, as a late-bound caller converts a
// variant: both throw ActError for an answer that is neither a number nor a
// truth value.

// A 32-bit integer; an empty answer (nothing, or the empty text) counts as 0.
qint32 ActResultToLong(const QVariant &result);

// Non-zero is true; nothing at all is false.
bool ActResultIsTrue(const QVariant &result);
