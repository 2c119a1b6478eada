#pragma once

#include <QString>

class FieldRows;

// What is wrong with a row before it is written, as the window marks it.
struct RowMark
{
    enum class Kind { None, NoField, SameFieldElsewhere };
    Kind What = Kind::None;
    QString ToolTip;
};

// A value without a field is not written; a field that another row with a
// value also has is written twice, and the last row wins.
RowMark MarkOfRow(const FieldRows &rows, int row);
