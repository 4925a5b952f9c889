#include "core/host/Twips.h"

#include <cmath>

namespace {

double usableDpi(double dpi)
{
    return dpi > 0 ? dpi : 96.0;
}

} // namespace

double TwipsPerPixel(double dpi)
{
    return kTwipsPerInch / usableDpi(dpi);
}

int PixelsToTwips(int pixels, double dpi)
{
    return static_cast<int>(std::lround(pixels * kTwipsPerInch / usableDpi(dpi)));
}

int TwipsToPixels(int twips, double dpi)
{
    return static_cast<int>(std::lround(twips * usableDpi(dpi) / kTwipsPerInch));
}
