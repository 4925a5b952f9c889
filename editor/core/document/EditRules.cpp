#include "core/document/EditRules.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace EditRules {

int InsertPosition(int firstSelected)
{
    return firstSelected >= 0 ? firstSelected + 1 : -1;
}

int DropPosition(int rowUnderPoint)
{
    return rowUnderPoint >= 0 ? rowUnderPoint : -1;
}

int CommentPosition(int firstSelected, bool insertLast, bool insertBefore)
{
    if (insertLast || firstSelected < 0)
        return -1;
    return insertBefore ? firstSelected : firstSelected + 1;
}

int PastePosition(int firstSelected)
{
    return firstSelected >= 0 ? firstSelected : -1;
}

QString ClosingElement(const QString &elementName)
{
    if (elementName == QLatin1String("if"))
        return QStringLiteral("endif");
    if (elementName == QLatin1String("loop"))
        return QStringLiteral("endloop");
    return {};
}

bool ParseLineNumber(const QString &entry, int *line)
{
    const QString text = entry.trimmed();
    if (text.isEmpty())
        return false;
    bool ok = false;
    double value = QLocale::c().toDouble(text, &ok);
    if (!ok)
        value = QLocale::system().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return false;
    const double rounded = std::round(value);
    if (rounded < 1.0 || rounded > static_cast<double>(std::numeric_limits<qint32>::max()))
        return false;
    if (line)
        *line = static_cast<int>(rounded);
    return true;
}

} // namespace EditRules
