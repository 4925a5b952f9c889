#pragma once

#include "core/document/CAttributes.h"

#include <QString>

class CElements;

// One step of a script, or one action definition of the catalogue. Steps are created by
// copying a definition (CElements::AddCopy), so two elements never share attribute objects.
class CElement final {
public:
    CElement() = default;
    CElement(const CElement &) = delete;
    CElement &operator=(const CElement &) = delete;

    QString ElementName;             // tag name in a ZML file ("if", "var", ...); "" for comments
    QString Description;             // display caption of the action
    bool ContainsText = false;       // the action carries text content between its tags
    bool TextRequired = false;       // the text content must not be empty
    bool TextAllowMultiLine = false; // the text content may span several lines
    QString Parent;                  // group of the action in the action tree
    QString Text;                    // text content; the comment text of a comment step
    QString TextDescription;         // caption of the text content
    QString Information;             // descriptive text about the action
    bool IsComment = false;          // a comment line rather than an action
    bool Disabled = false;           // kept in the script but commented out when written

    // Takes the fields an element has from its action: name, captions, text rules, group and
    // information (not the text, the flags or the attributes).
    void CopyActionFields(const CElement &action)
    {
        ElementName = action.ElementName;
        Description = action.Description;
        ContainsText = action.ContainsText;
        TextRequired = action.TextRequired;
        TextAllowMultiLine = action.TextAllowMultiLine;
        Parent = action.Parent;
        TextDescription = action.TextDescription;
        Information = action.Information;
    }

    // True when the fields CopyActionFields takes are the same in both.
    bool SameActionFields(const CElement &other) const
    {
        return ElementName == other.ElementName && Description == other.Description &&
               ContainsText == other.ContainsText && TextRequired == other.TextRequired &&
               TextAllowMultiLine == other.TextAllowMultiLine && Parent == other.Parent &&
               TextDescription == other.TextDescription && Information == other.Information;
    }

    // The action's attributes with this element's values, in catalogue order.
    CAttributes &Attributes() { return m_attributes; }
    const CAttributes &Attributes() const { return m_attributes; }
    // Key under which the element is stored in its collection ("" when not stored).
    const QString &Key() const { return m_key; }

private:
    friend class CElements;
    CAttributes m_attributes;
    QString m_key;
};
