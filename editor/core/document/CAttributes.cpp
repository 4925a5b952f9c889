#include "core/document/CAttributes.h"

std::shared_ptr<CAttribute> CAttributes::Add(const QString &AttributeName, qint32 DataType,
                                             const QString &Value, const QString &ArrayValues,
                                             bool Required, const QVariant &DefaultValue,
                                             const QString &Description)
{
    KeyedList<CAttribute> &items = materialised();
    auto attribute = std::make_shared<CAttribute>();
    attribute->DataType = DataType;
    attribute->AttributeName = AttributeName;
    attribute->Value = Value;
    attribute->Required = Required;
    attribute->DefaultValue = DefaultValue;
    attribute->Description = Description;
    attribute->ArrayValues = ArrayValues;
    // Keys compare folded: the name itself serves as the key (no upper-cased copy per step).
    if (!items.insert(AttributeName, attribute))
        return {};
    return attribute;
}

void CAttributes::CopyFrom(const CAttributes &source)
{
    if (&source == this)
        return;
    if (source.m_definitions) {
        m_definitions = source.m_definitions;
        m_values = source.m_values;
        m_full.reset();
        return;
    }
    AssignDefinitions(source.Definitions());
}

CAttributes::DefinitionsPtr CAttributes::Definitions() const
{
    if (m_definitions) {
        const int count = m_definitions->Count();
        bool unedited = true;
        for (int i = 0; i < count && unedited; ++i)
            unedited = m_values[std::size_t(i)] == m_definitions->At(i).Value;
        if (unedited)
            return m_definitions;
        return CAttributeDefinitions::WithValues(*m_definitions, m_values);
    }
    if (Count() == 0)
        return {};
    return CAttributeDefinitions::FromList(*m_full);
}

void CAttributes::AssignDefinitions(DefinitionsPtr definitions)
{
    m_full.reset();
    m_values.clear();
    m_definitions = std::move(definitions);
    if (!m_definitions)
        return;
    const int count = m_definitions->Count();
    m_values.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        m_values.push_back(m_definitions->At(i).Value);
}

int CAttributes::Count() const
{
    if (m_definitions)
        return m_definitions->Count();
    return m_full ? m_full->count() : 0;
}

const CAttribute *CAttributes::fullAt(int index) const
{
    if (!m_full)
        return nullptr;
    return m_full->at(index + 1).get();
}

const CAttribute &CAttributes::DefinitionAt(int index) const
{
    Q_ASSERT(index >= 0 && index < Count());
    if (m_definitions)
        return m_definitions->At(index);
    return *fullAt(index);
}

const QString &CAttributes::ValueAt(int index) const
{
    static const QString empty;
    if (m_definitions)
        return index >= 0 && index < int(m_values.size()) ? m_values[std::size_t(index)] : empty;
    const CAttribute *attribute = fullAt(index);
    return attribute ? attribute->Value : empty;
}

void CAttributes::SetValueAt(int index, const QString &value)
{
    if (m_definitions) {
        if (index >= 0 && index < int(m_values.size()))
            m_values[std::size_t(index)] = value;
        return;
    }
    if (m_full) {
        if (const auto attribute = m_full->at(index + 1))
            attribute->Value = value;
    }
}

int CAttributes::IndexOf(const QString &key) const
{
    if (m_definitions)
        return m_definitions->IndexOf(key);
    return m_full ? m_full->positionOf(key) - 1 : -1;
}

void CAttributes::Clear()
{
    m_definitions.reset();
    m_values.clear();
    m_full.reset();
}

const KeyedList<CAttribute> &CAttributes::items() const
{
    if (m_definitions)
        return materialised();
    static const KeyedList<CAttribute> empty;
    return m_full ? *m_full : empty;
}

KeyedList<CAttribute> &CAttributes::materialised() const
{
    if (!m_full)
        m_full = std::make_unique<KeyedList<CAttribute>>();
    if (!m_definitions)
        return *m_full;
    const int count = m_definitions->Count();
    for (int i = 0; i < count; ++i) {
        auto attribute = std::make_shared<CAttribute>(m_definitions->At(i));
        attribute->Value = std::move(m_values[std::size_t(i)]);
        m_full->appendNew(m_definitions->KeyAt(i), std::move(attribute)); // keys are unique
    }
    m_definitions.reset();
    m_values = {};
    return *m_full;
}
