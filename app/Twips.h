#pragma once

#include <QRect>

// The window layouts are given in twips: 15 twips are one pixel at 96 dpi, and
// the layout grows with the screen's logical dpi.
int TwipsToPixels(int twips, qreal logicalDpi);
QRect TwipsRect(int left, int top, int width, int height, qreal logicalDpi);
