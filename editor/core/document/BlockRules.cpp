#include "core/document/BlockRules.h"

namespace BlockRules {

bool IsOpener(const QString &elementName)
{
    return elementName == QLatin1String("if") || elementName == QLatin1String("else") ||
           elementName == QLatin1String("loop");
}

bool IsCloser(const QString &elementName)
{
    return elementName == QLatin1String("else") || elementName == QLatin1String("endif") ||
           elementName == QLatin1String("endloop");
}

int NewRowDepth(int row, int previousDepth, const QString &previousElementName,
                const QString &newElementName)
{
    if (row <= 0)
        return 0;
    int depth = previousDepth;
    if (IsOpener(previousElementName))
        ++depth;
    if (IsCloser(newElementName))
        --depth;
    return depth < 0 ? 0 : depth;
}

int Indent(int depth)
{
    return depth < kMaxIndent ? depth + 1 : depth;
}

int Outdent(int depth)
{
    return depth >= 1 ? depth - 1 : depth;
}

} // namespace BlockRules
