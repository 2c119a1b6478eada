#pragma once

// How the parse asks the user for a separator when none of the candidates
// occurs. Open() returns when the dialog has closed; the dialog leaves its
// choice in UserSeparator (empty: none accepted).
class SeparatorDialog
{
public:
    virtual ~SeparatorDialog();
    virtual void Open() = 0;
};
