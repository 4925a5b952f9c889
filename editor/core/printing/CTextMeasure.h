#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <QStringView>

#include <array>

class QPaintDevice;

// Measures text in a font on a paint device, fast enough for very long jobs: with a
// fixed-pitch font, text made only of simple characters (below the combining marks, no
// controls but the tab) is the sum of its characters' advances; anything else is shaped once
// and cached.
class CTextMeasure final {
public:
    CTextMeasure(const QFont &font, const QPaintDevice *device);

    double Width(QStringView text) const;
    double Height() const { return m_metrics.height(); }
    double Ascent() const { return m_metrics.ascent(); }

private:
    static constexpr int kSimpleLimit = 0x300;

    QFontMetricsF m_metrics;
    bool m_fixedPitch;
    mutable std::array<double, kSimpleLimit> m_advances{};
    mutable QHash<QString, double> m_cache;
};
