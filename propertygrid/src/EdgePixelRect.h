#pragma once

#include <QRect>

namespace Fieldpane {

class CEdge;

/// The pixel rectangle that CEdge::Draw draws around, right and bottom inclusive. With
/// `convertFromTwips` the edge's rectangle is divided by the twips per pixel of its device.
QRect EdgePixelRect(const CEdge &edge, bool convertFromTwips);

} // namespace Fieldpane
