#pragma once

#include "core/Numbers.h"

// Column widths are kept in twips (1/1440 inch), so they mean the same length on any screen.
constexpr double twipsPerPixel(double logicalDpi)
{
    return 1440.0 / logicalDpi;
}

inline qint32 twipsToPixels(double twips, double perPixel)
{
    return nearestInteger(twips / perPixel);
}

inline float pixelsToTwips(qint32 pixels, double perPixel)
{
    return float(pixels * perPixel);
}
