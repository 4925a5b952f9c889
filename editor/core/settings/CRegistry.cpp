#include "core/settings/CRegistry.h"

#include "core/settings/CRegistryError.h"
#include "core/settings/RegValue.h"
#include "core/settings/SettingsStore.h"

#include <QtEndian>

namespace {

QString textOf(const QByteArray &data)
{
    QString text;
    text.reserve(data.size() / 2);
    for (qsizetype i = 0; i + 1 < data.size(); i += 2)
        text.append(QChar(qFromLittleEndian<quint16>(data.constData() + i)));
    return text;
}

QByteArray terminatedUtf16(const QString &text)
{
    QByteArray data(text.size() * 2 + 2, '\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text.at(i).unicode(), data.data() + i * 2);
    return data;
}

// Four bytes of a DWORD value; shorter data is padded with zeros.
QByteArray dwordBytes(const QByteArray &data)
{
    QByteArray bytes = data.left(4);
    bytes.append(4 - bytes.size(), '\0');
    return bytes;
}

bool isWholeNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

} // namespace

bool CRegistry::KeyExists() const
{
    return SettingsStore::current().keyExists(static_cast<quint32>(ClassKey), SectionKey);
}

bool CRegistry::CreateKey()
{
    if (!SettingsStore::current().createKey(static_cast<quint32>(ClassKey), SectionKey))
        throw CRegistryError(QStringLiteral("Failed to create registry Key: '") + SectionKey);
    return true;
}

QVariant CRegistry::Value()
{
    const std::optional<RegValue> stored =
        SettingsStore::current().readValue(static_cast<quint32>(ClassKey), SectionKey, ValueKey);
    if (!stored)
        return Default;
    ValueType = static_cast<qint32>(stored->type);
    switch (stored->type) {
    case RegSz: {
        const QString text = textOf(stored->data);
        return text.left(text.indexOf(QChar(0)));
    }
    case RegExpandSz: {
        const QString text = textOf(stored->data);
        const QString value = text.left(text.indexOf(QChar(0)));
        return LiteralStrings ? value : ExpandEnvironmentStrings(value);
    }
    case RegMultiSz: {
        QString text = textOf(stored->data);
        while (text.endsWith(QChar(0)))
            text.chop(1);
        return text;
    }
    case RegDword:
        return qFromLittleEndian<qint32>(dwordBytes(stored->data).constData());
    case RegDwordBigEndian:
        return qFromBigEndian<qint32>(dwordBytes(stored->data).constData());
    default:
        return stored->data;
    }
}

void CRegistry::setValue(const QVariant &v)
{
    SettingsStore &store = SettingsStore::current();
    const auto root = static_cast<quint32>(ClassKey);
    if (!store.createKey(root, SectionKey))
        raiseWriteError(v);

    RegValue value;
    switch (ValueType) {
    case RegSz:
    case RegExpandSz: {
        const QString text = v.toString();
        const qint32 type = LiteralStrings ? static_cast<qint32>(RegSz) : StringType(text);
        value = {static_cast<quint32>(type), terminatedUtf16(text)};
        break;
    }
    case RegDword:
    case RegDwordBigEndian: {
        if (!isWholeNumber(v))
            return;
        qint32 number = 0;
        if (v.typeId() == QMetaType::Bool)
            number = v.toBool() ? -1 : 0;
        else if (v.typeId() == QMetaType::UInt)
            number = static_cast<qint32>(v.toUInt());
        else
            number = v.toInt();
        value.type = RegDword;
        value.data.resize(4);
        qToLittleEndian(number, value.data.data());
        break;
    }
    case RegBinary:
        if (v.typeId() != QMetaType::QByteArray)
            raiseWriteError(v);
        value = {RegBinary, v.toByteArray()};
        break;
    default:
        return;
    }
    if (!store.writeValue(root, SectionKey, ValueKey, value))
        raiseWriteError(v);
}

qint32 CRegistry::StringType(const QString &text)
{
    const qsizetype first = text.indexOf(u'%');
    return first >= 0 && text.indexOf(u'%', first + 2) >= 0 ? RegExpandSz : RegSz;
}

QString CRegistry::ExpandEnvironmentStrings(const QString &text)
{
    QString result;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(u'%', pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'%', open + 1);
        if (close < 0) {
            result.append(QStringView(text).mid(pos));
            break;
        }
        result.append(QStringView(text).mid(pos, open - pos));
        const QString name = text.mid(open + 1, close - open - 1);
        if (!name.isEmpty() && qEnvironmentVariableIsSet(name.toLocal8Bit().constData())) {
            result.append(qEnvironmentVariable(name.toLocal8Bit().constData()));
            pos = close + 1;
        } else {
            // Not a variable: keep the text and let the closing "%" open the next reference.
            result.append(u'%');
            result.append(name);
            pos = close;
        }
    }
    return result;
}

void CRegistry::raiseWriteError(const QVariant &v) const
{
    throw CRegistryError(QStringLiteral("Failed to set registry value Key: '") +
                         QString::number(ClassKey) + QStringLiteral("',Section: '") + SectionKey +
                         QStringLiteral("',Key: '") + ValueKey + QStringLiteral("' to value: '") +
                         v.toString() + QStringLiteral("'"));
}
