#include "core/document/CElements.h"

#include "core/zml/XmlEventParser.h"

#include <QCoreApplication>

#include <vector>

bool CElements::store(const QString &key, const std::shared_ptr<CElement> &element)
{
    if (!m_items.insert(key, element))
        return false;
    element->m_key = key;
    return true;
}

std::shared_ptr<CElement> CElements::Add(const QString &ElementName, const QString &Description,
                                         bool ContainsText, const QString &TextDescription,
                                         bool TextRequired, bool TextAllowMultiLine,
                                         const QString &Parent, const QString &Text, bool Disabled)
{
    auto element = std::make_shared<CElement>();
    element->ElementName = ElementName;
    element->Description = Description;
    element->ContainsText = ContainsText;
    element->TextDescription = TextDescription;
    element->TextRequired = TextRequired;
    element->TextAllowMultiLine = TextAllowMultiLine;
    element->Parent = Parent;
    element->Text = Text;
    element->Disabled = Disabled;
    if (!store(ElementName.toUpper(), element))
        return {};
    return element;
}

void CElements::AdoptNew(std::shared_ptr<CElement> element, const QString &key)
{
    element->m_key = key;
    m_items.appendNew(key, std::move(element));
}

std::shared_ptr<CElement> CElements::Copy(const CElement &source)
{
    auto copy = std::make_shared<CElement>();
    copy->CopyActionFields(source);
    copy->Text = source.Text;
    copy->IsComment = source.IsComment;
    copy->Disabled = source.Disabled;
    copy->Attributes().CopyFrom(source.Attributes());
    return copy;
}

std::shared_ptr<CElement> CElements::AddCopy(const CElement &source, const QString &key)
{
    auto copy = Copy(source);
    QString storeKey = key.isEmpty() ? source.Key() : key;
    if (storeKey.isEmpty())
        storeKey = copy->ElementName.toUpper();
    if (!store(storeKey, copy))
        return {};
    return copy;
}

QStringList CElements::GetVariableNames(bool ranges) const
{
    const QString wanted = ranges ? QStringLiteral("range") : QStringLiteral("var");
    const QString nameKey = QStringLiteral("name");
    QStringList names;
    for (const auto &element : m_items) {
        if (element->ElementName != wanted)
            continue;
        const CAttributes &attributes = element->Attributes();
        const QString &name = attributes.ValueAt(attributes.IndexOf(nameKey));
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

QStringList CElements::DropUnwritableNames()
{
    const auto tr = [](const char *text) {
        return QCoreApplication::translate("CElements", text);
    };
    QStringList problems;
    QStringList badActions;
    for (const auto &element : m_items) {
        if (!IsXmlElementName(element->ElementName)) {
            badActions.append(element->Key());
            problems.append(element->ElementName.isEmpty()
                                ? tr("An action without a name was left out.")
                                : tr("The action '%1' was left out: its name cannot be written "
                                     "to a script.")
                                      .arg(element->ElementName));
            continue;
        }
        CAttributes &attributes = element->Attributes();
        std::vector<int> badAttributes;
        for (int i = 0; i < attributes.Count(); ++i) {
            const QString name = attributes.DefinitionAt(i).AttributeName;
            if (IsXmlAttributeName(name))
                continue;
            badAttributes.push_back(i);
            problems.append(name.isEmpty()
                                ? tr("An attribute without a name of the action '%1' was left "
                                     "out.")
                                      .arg(element->ElementName)
                                : tr("The attribute '%1' of the action '%2' was left out: its "
                                     "name cannot be written to a script.")
                                      .arg(name, element->ElementName));
        }
        for (auto i = badAttributes.rbegin(); i != badAttributes.rend(); ++i)
            attributes.Remove(*i + 1);
    }
    for (const QString &key : badActions)
        Remove(key);
    return problems;
}
