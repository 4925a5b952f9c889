#include "core/document/StepRowGeometry.h"

#include "core/document/StepText.h"
#include "core/document/StepView.h"

#include <algorithm>

namespace StepRowGeometry {

namespace {
int clampStyle(int iconStyle)
{
    return std::clamp(iconStyle, kIconNone, kIconLarge);
}
} // namespace

int IconCellSize(int iconStyle)
{
    return clampStyle(iconStyle) * 18 + 2;
}

int IndentStep(int iconStyle)
{
    return clampStyle(iconStyle) == kIconLarge ? 36 : 22;
}

int IconSize(int iconStyle)
{
    return clampStyle(iconStyle) * 16;
}

int GutterDigits(int rowCount)
{
    int digits = 1;
    for (int n = std::max(rowCount, 0); n >= 10; n /= 10)
        ++digits;
    return digits + 2;
}

int IconLeft(int gutterRight, int iconStyle, int indent)
{
    return gutterRight + 1 + std::max(indent, 0) * IndentStep(iconStyle);
}

int TextLeft(int gutterRight, int iconStyle, int indent)
{
    return gutterRight + IconCellSize(iconStyle) + std::max(indent, 0) * IndentStep(iconStyle);
}

int TextHeight(int measuredTextHeight, int iconStyle)
{
    return std::min(std::max(measuredTextHeight, IconCellSize(iconStyle)), kMaxTextHeight);
}

int RowHeight(int measuredTextHeight, int iconStyle)
{
    return TextHeight(measuredTextHeight, iconStyle) + kRowPadding;
}

} // namespace StepRowGeometry

QString VisualCaption(const StepView &step)
{
    QString caption = BuildStepInfo(step);
    caption.replace(QLatin1Char('\t'), QStringLiteral(" \u00BB "));
    return caption;
}

int LineCount(const QString &text)
{
    int lines = 1;
    const int size = static_cast<int>(text.size());
    for (int i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n') ||
            (c == QLatin1Char('\r') && (i + 1 == size || text.at(i + 1) != QLatin1Char('\n'))))
            ++lines;
    }
    return lines;
}

int CaptionLines(const StepView &step)
{
    int lines = 0;
    if (step.IsComment()) {
        lines = LineCount(step.Text());
    } else {
        lines = 1;
        for (int i = 0, count = step.AttributeCount(); i < count; ++i) {
            const QString &value = step.ValueAt(i);
            if (!value.isEmpty())
                lines += LineCount(value);
        }
    }
    if (step.ContainsText() && !step.Text().isEmpty())
        lines += 1 + LineCount(step.Text());
    return lines;
}

int RowTextLines(const StepView &step)
{
    return step.IsComment() ? LineCount(step.Text()) + 2 : 1;
}
