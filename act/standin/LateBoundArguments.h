#pragma once

#include <QString>
#include <QVariant>

// Argument coercion as late binding does it: a number may arrive as any
// integer type, a whole double or a text holding a number; a text may arrive
// as a number. Anything else throws ActError naming the argument.

// `what` names the argument in the message, e.g. "Argument 1 von „SetField“".
qint32 IntegerArgument(const QVariant &value, const QString &what);
QString TextArgument(const QVariant &value, const QString &what);
