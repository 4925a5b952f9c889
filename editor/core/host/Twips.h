#pragma once

// Twips: the unit of stored window geometry and page layout, 1440 to the inch.
inline constexpr int kTwipsPerInch = 1440;

// Twips per pixel at a logical dpi (96 when dpi is not positive).
double TwipsPerPixel(double dpi);
// Conversions at a logical dpi, rounded to the nearest whole number (96 when dpi is not
// positive).
int PixelsToTwips(int pixels, double dpi);
int TwipsToPixels(int twips, double dpi);
