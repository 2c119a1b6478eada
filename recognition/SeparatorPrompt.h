#pragma once

#include <QString>

// How the parse asks the user for a separator when none of the candidates
// occurs. Open() returns when the dialog has closed, with the accepted
// separator (empty: none accepted).
class SeparatorPrompt
{
public:
    virtual ~SeparatorPrompt();
    virtual QString Open() = 0;
};
