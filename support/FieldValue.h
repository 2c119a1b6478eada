#pragma once

#include <QString>

// A user definition (a label and the ACT! field it feeds) when loaded from the
// settings file; a definition hit (the field and the value found) when made by
// recognition.
// Formerly clsZusatzDefs.
struct FieldValue
{
    qint16 field = 0;
    QString value;
};
