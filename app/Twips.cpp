#include "Twips.h"

#include <cmath>

int TwipsToPixels(int twips, qreal logicalDpi)
{
    constexpr qreal TwipsPerPixelAt96 = 15.0;
    return int(std::lround(twips / TwipsPerPixelAt96 * logicalDpi / 96.0));
}

QRect TwipsRect(int left, int top, int width, int height, qreal logicalDpi)
{
    // Right and bottom edges are scaled on their own, so neighbours that touch
    // in twips still touch in pixels.
    const int x = TwipsToPixels(left, logicalDpi);
    const int y = TwipsToPixels(top, logicalDpi);
    return QRect(x, y, TwipsToPixels(left + width, logicalDpi) - x,
                 TwipsToPixels(top + height, logicalDpi) - y);
}
