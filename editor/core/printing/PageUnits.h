#pragma once

#include <QLocale>
#include <QString>

// Distances of the page settings in their units (3 pixels, 5 inches, 6 millimetres,
// 7 centimetres): conversion, rounding and the text form shown in the page setup dialog.
namespace PageUnits {

// Decimals shown for a unit: none for pixels, one for millimetres, two for the others.
int Decimals(int scaleMode);
// Twips (1440 an inch) per unit; pixels count twipsPerPixel.
double TwipsPerUnit(int scaleMode, double twipsPerPixel);
// Converts a distance between units through twips.
double Convert(double value, int fromMode, int toMode, double twipsPerPixel);
// Rounds to the given decimals, halves to the even neighbour.
double Round(double value, int decimals);
// The value rounded and written with the unit's decimals, without group separators.
QString Format(double value, int scaleMode, const QLocale &locale = QLocale());
// Reads a number typed in the locale's form (or with a point); false when it is none.
bool Parse(const QString &text, double *value, const QLocale &locale = QLocale());

} // namespace PageUnits
