#include "core/printing/PageUnits.h"

#include "core/host/Twips.h"

#include "core/printing/CPrintDevice.h"

#include <cmath>

namespace PageUnits {

int Decimals(int scaleMode)
{
    switch (scaleMode) {
    case CPrintDevice::Pixels:
        return 0;
    case CPrintDevice::Millimeters:
        return 1;
    default:
        return 2;
    }
}

double TwipsPerUnit(int scaleMode, double twipsPerPixel)
{
    switch (scaleMode) {
    case CPrintDevice::Inches:
        return kTwipsPerInch;
    case CPrintDevice::Millimeters:
        return kTwipsPerInch / 25.4;
    case CPrintDevice::Centimeters:
        return kTwipsPerInch / 2.54;
    default:
        return twipsPerPixel;
    }
}

double Convert(double value, int fromMode, int toMode, double twipsPerPixel)
{
    if (fromMode == toMode)
        return value;
    return value * TwipsPerUnit(fromMode, twipsPerPixel) / TwipsPerUnit(toMode, twipsPerPixel);
}

double Round(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    // The scaled value is first cut to 9 significant decimals, so that 0.125 * 100 counts as
    // the half it stands for, not as the binary neighbour it happens to be.
    const double scaled = std::round(value * scale * 1e9) / 1e9;
    return std::nearbyint(scaled) / scale;
}

QString Format(double value, int scaleMode, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    const int decimals = Decimals(scaleMode);
    return plain.toString(Round(value, decimals), 'f', decimals);
}

bool Parse(const QString &text, double *value, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    double result = locale.toDouble(trimmed, &ok);
    if (!ok)
        result = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(result))
        return false;
    *value = result;
    return true;
}

} // namespace PageUnits
