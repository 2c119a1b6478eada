#include "Messages.h"

#include <utility>

MessageKind DecodeMessageStyle(qint16 style)
{
    constexpr int YesNoButtons = 4;
    constexpr std::pair<int, MessageIcon> Icons[] = {
        {16, MessageIcon::Stop},
        {32, MessageIcon::Question},
        {48, MessageIcon::Exclamation},
        {64, MessageIcon::Information},
    };
    MessageKind kind;
    if ((style & 0x0F) == YesNoButtons)
        kind.Buttons = MessageButtons::YesNo;
    for (const auto &[code, icon] : Icons) {
        if ((style & 0xF0) == code)
            kind.Icon = icon;
    }
    return kind;
}

qint16 UnattendedAnswer(qint16 style)
{
    return DecodeMessageStyle(style).Buttons == MessageButtons::YesNo ? MessageAnswer::No
                                                                      : MessageAnswer::Ok;
}
