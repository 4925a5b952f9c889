#include "ValueConversion.h"

#include "fieldpane/PropertyList.h"
#include "fieldpane/SystemColors.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace Fieldpane {

namespace {

std::optional<double> parseNumber(const QString &raw)
{
    const QString text = raw.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (text.size() > 2 && text.at(0) == u'&') {
        const QChar radixChar = text.at(1).toUpper();
        const int radix = radixChar == u'H' ? 16 : radixChar == u'O' ? 8 : 0;
        if (radix == 0)
            return std::nullopt;
        bool ok = false;
        const qulonglong bits = text.mid(2).toULongLong(&ok, radix);
        if (!ok || bits > 0xFFFFFFFFull)
            return std::nullopt;
        // "&HFFFFFFFF" is -1, as a 32-bit pattern.
        return static_cast<double>(static_cast<qint32>(static_cast<quint32>(bits)));
    }
    bool ok = false;
    const double number = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

std::optional<qint32> roundToInt32(double number)
{
    if (!std::isfinite(number))
        return std::nullopt;
    double whole = std::floor(number);
    const double fraction = number - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    if (whole < static_cast<double>(std::numeric_limits<qint32>::min()) ||
        whole > static_cast<double>(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return static_cast<qint32>(whole);
}

} // namespace

std::optional<qint32> ToInt32(const QVariant &value)
{
    if (!value.isValid())
        return 0;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? -1 : 0;
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QChar: {
        const auto number = parseNumber(value.toString());
        if (!number)
            return std::nullopt;
        return roundToInt32(*number);
    }
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return value.toInt();
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong: {
        bool ok = false;
        const qlonglong n = value.toLongLong(&ok);
        if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
            return std::nullopt;
        return static_cast<qint32>(n);
    }
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        bool ok = false;
        const qulonglong n = value.toULongLong(&ok);
        if (!ok || n > static_cast<qulonglong>(std::numeric_limits<qint32>::max()))
            return std::nullopt;
        return static_cast<qint32>(n);
    }
    default:
        break;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return roundToInt32(number);
}

bool IsNumericText(const QString &text)
{
    return parseNumber(text).has_value();
}

std::optional<bool> ToBoolean(const QVariant &value)
{
    if (!value.isValid())
        return false;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        const auto number = parseNumber(text);
        if (!number)
            return std::nullopt;
        return *number != 0.0;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return number != 0.0;
}

std::optional<QColor> ToColor(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QColor: {
        const QColor color = value.value<QColor>();
        return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
    }
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QColor color = QColor::fromString(value.toString().trimmed());
        return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
    }
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (!ok || number < std::numeric_limits<qint32>::min() ||
            number > std::numeric_limits<quint32>::max())
            return std::nullopt;
        return FromOleColor(static_cast<quint32>(number));
    }
    default:
        return std::nullopt;
    }
}

std::optional<QFont> ToFont(const QVariant &value)
{
    if (value.typeId() == QMetaType::QFont)
        return value.value<QFont>();
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    QFont font;
    const QString text = value.toString();
    if (text.trimmed().isEmpty() || !font.fromString(text))
        return std::nullopt;
    return font;
}

QString ColorText(const QColor &color)
{
    return color.name(color.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb);
}

QString FontText(const QFont &font)
{
    QString text = font.family();
    if (font.pointSizeF() > 0)
        text = PropertyList::tr("%1, %2 pt").arg(text, QString::number(font.pointSizeF()));
    else if (font.pixelSize() > 0)
        text = PropertyList::tr("%1, %2 px").arg(text, QString::number(font.pixelSize()));
    if (font.bold())
        text = PropertyList::tr("%1, Bold").arg(text);
    if (font.italic())
        text = PropertyList::tr("%1, Italic").arg(text);
    return text;
}

QString valueText(const CListItem &item)
{
    const QVariant value = item.Value();
    switch (value.typeId()) {
    case QMetaType::QStringList:
    case QMetaType::QVariantList:
        return {};
    case QMetaType::QColor:
        return ColorText(value.value<QColor>());
    case QMetaType::QFont:
        return FontText(value.value<QFont>());
    default:
        return value.toString();
    }
}

QString firstLine(const QString &text)
{
    const qsizetype end = text.indexOf(QLatin1String("\r\n"));
    return end < 0 ? text : text.left(end);
}

} // namespace Fieldpane
