#pragma once

#include <QString>

#include <optional>

// What a button file says, section "BUTTON".
struct ButtonFile
{
    bool Install = false;
    QString Name;
    QString FileName;
    QString Description;
    QString Tooltip;
    QString IconL;
    QString IconS;
    bool Contact = false;
    bool Group = false;
};

struct ButtonFileRead
{
    enum Outcome { Read, Missing, NotANumber };
    Outcome Result = Missing;
    ButtonFile Button;
    QString BadKey; // the switch that held no number
};

// The switch a text stands for: a number (read as the user's locale writes
// numbers) equal to 1 is on, any other number off; nullopt when the text is no
// number at all, the empty text included.
std::optional<bool> SwitchFromText(const QString &text);

// Reads the keys in the order the installer has always read them and stops at
// the first switch that is no number.
ButtonFileRead ReadButtonFile(const QString &path);
