#pragma once

#include "WindowMessages.h"

// Messages as real message boxes over the window in front: the icon and buttons
// of the style, the answer as the button code (6 Yes, 7 No, 1 OK).
class QtMessagePresenter : public MessagePresenter
{
public:
    qint16 Present(const QString &title, const QString &text, qint16 style) override;
};
