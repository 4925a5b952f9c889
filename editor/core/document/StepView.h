#pragma once

#include "core/document/CAttributeDefinitions.h"
#include "core/document/CElement.h"

#include <QString>

// Read access to one step without copying it: either an element of its own (CElement) or a
// step the document stores as a record. Field names follow CElement's. A view of a document's
// step is valid until the document changes; take a copy (CDocument::Step) to keep the step.
class StepView final {
public:
    StepView() = default;
    // A view of an element (implicit, so that a CElement can be passed wherever a view is read).
    StepView(const CElement &element) // NOLINT(google-explicit-constructor)
        : m_fields(&element), m_element(&element), m_text(&element.Text),
          m_comment(element.IsComment), m_disabled(element.Disabled)
    {}
    // A view of a stored step: the action's fields and definitions, the step's text and, when
    // any differs from the definitions' values, one value per definition.
    StepView(const CElement &action, const CAttributeDefinitions *definitions, const QString *text,
             const QString *values, bool comment, bool disabled)
        : m_fields(&action), m_definitions(definitions), m_text(text ? text : &empty()),
          m_values(values), m_comment(comment), m_disabled(disabled)
    {}

    explicit operator bool() const { return m_fields != nullptr; }

    const QString &ElementName() const { return m_fields->ElementName; }
    const QString &Description() const { return m_fields->Description; }
    bool ContainsText() const { return m_fields->ContainsText; }
    bool TextRequired() const { return m_fields->TextRequired; }
    bool TextAllowMultiLine() const { return m_fields->TextAllowMultiLine; }
    const QString &Parent() const { return m_fields->Parent; }
    const QString &TextDescription() const { return m_fields->TextDescription; }
    const QString &Information() const { return m_fields->Information; }
    const QString &Text() const { return *m_text; }
    bool IsComment() const { return m_comment; }
    bool Disabled() const { return m_disabled; }

    int AttributeCount() const
    {
        if (m_element)
            return m_element->Attributes().Count();
        return m_definitions ? m_definitions->Count() : 0;
    }
    // Fields of the attribute at a 0-based index in [0, AttributeCount()).
    const CAttribute &DefinitionAt(int index) const
    {
        return m_element ? m_element->Attributes().DefinitionAt(index) : m_definitions->At(index);
    }
    // The step's value of the attribute at a 0-based index; "" when out of range.
    const QString &ValueAt(int index) const
    {
        if (m_element)
            return m_element->Attributes().ValueAt(index);
        if (index < 0 || index >= AttributeCount())
            return empty();
        return m_values ? m_values[index] : m_definitions->At(index).Value;
    }
    // 0-based index of the attribute stored under key (any case); -1 when absent.
    int IndexOf(const QString &key) const
    {
        if (m_element)
            return m_element->Attributes().IndexOf(key);
        return m_definitions ? m_definitions->IndexOf(key) : -1;
    }

    // The frozen definitions the step shares with its action (null when it has none of its own
    // to share): a key for what a caller works out once per action.
    const CAttributeDefinitions *SharedDefinitions() const
    {
        return m_element ? m_element->Attributes().SharedDefinitions() : m_definitions;
    }

    // Identifies the step's action while the document does not change: the same for every
    // stored step of one action (and the element itself for a view of an element).
    const void *ActionKey() const { return m_fields; }

    // The element viewed, when the view is of an element; null for a stored step.
    const CElement *Element() const { return m_element; }

private:
    static const QString &empty()
    {
        static const QString text;
        return text;
    }

    const CElement *m_fields = nullptr;  // the action's fields (the element's own for an element)
    const CElement *m_element = nullptr; // the element viewed
    const CAttributeDefinitions *m_definitions = nullptr;
    const QString *m_text = nullptr;
    const QString *m_values = nullptr; // null: the definitions' values
    bool m_comment = false;
    bool m_disabled = false;
};
