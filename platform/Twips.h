#pragma once
// Windows and the ribbon are laid out in twips (1/1440 inch). At 96 dots per
// inch 15 twips make one pixel. Positions that are computed stay in float twips
// until they are applied to a widget, so rounding happens once.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>

namespace platform {

inline constexpr float TwipsPerPixel = 15.0f;

inline int twipsToPixels(double twips)
{
    return int(std::lround(twips / TwipsPerPixel));
}

inline float pixelsToTwips(int pixels)
{
    return float(pixels) * TwipsPerPixel;
}

inline QRect twipsRect(double left, double top, double width, double height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

} // namespace platform
