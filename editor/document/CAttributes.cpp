#include "document/CAttributes.h"

std::shared_ptr<CAttribute> CAttributes::Add(const QString &AttributeName, qint32 DataType,
                                             const QString &Value, const QString &ArrayValues,
                                             bool Required, const QVariant &DefaultValue,
                                             const QString &Description)
{
    auto attribute = std::make_shared<CAttribute>();
    attribute->DataType = DataType;
    attribute->AttributeName = AttributeName;
    attribute->Value = Value;
    attribute->Required = Required;
    attribute->DefaultValue = DefaultValue;
    attribute->Description = Description;
    attribute->ArrayValues = ArrayValues;
    // Keys compare folded: the name itself serves as the key (no upper-cased copy per step).
    if (!m_items.insert(AttributeName, attribute))
        return {};
    return attribute;
}
