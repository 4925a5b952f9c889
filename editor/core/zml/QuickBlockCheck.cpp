#include "core/zml/QuickBlockCheck.h"

#include "core/document/CDocument.h"
#include "core/zml/XmlEventParser.h"

#include <QHash>
#include <QSet>

#include <utility>
#include <vector>

namespace {

// True when every character of text may stand in an XML document as it is (tabs and line
// breaks included). Lone surrogates, which the writer replaces, are left to the text check.
bool xmlCharacters(QStringView text)
{
    // Most text is plain: whole blocks between U+0020 and U+D7FF are passed at once.
    constexpr qsizetype kBlock = 16;
    const char16_t *data = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = 0;
    for (; i + kBlock <= size; i += kBlock) {
        unsigned outside = 0; // no branch inside: the compiler checks the block at once
        for (qsizetype k = 0; k < kBlock; ++k)
            outside |= char16_t(data[i + k] - 0x20) >= char16_t(0xD800 - 0x20) ? 1U : 0U;
        if (outside != 0)
            break;
    }
    for (; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if ((c >= 0x20 && c < 0xD800) || (c >= 0xE000 && c <= 0xFFFD) || c == u'\t' || c == u'\n' ||
            c == u'\r')
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < size && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        return false;
    }
    return true;
}

// True when view starts with "endif" or "endloop" in any case.
bool startsWithCloser(QStringView view)
{
    return view.startsWith(u"endif", Qt::CaseInsensitive) ||
           view.startsWith(u"endloop", Qt::CaseInsensitive);
}

// True when text may stand inside a comment as it is: XML characters, no "--" and, when
// closers is set, no "<endif" or "<endloop" in any case.
bool commentSafe(QStringView text, bool closers = false)
{
    for (qsizetype i = 0, size = text.size(); i + 1 < size; ++i) {
        const char16_t c = text[i].unicode();
        if ((c == u'-' && text[i + 1] == u'-') ||
            (closers && c == u'<' && startsWithCloser(text.mid(i + 1))))
            return false;
    }
    return xmlCharacters(text);
}

enum class Kind : char { If, Loop, EndIf, EndLoop, Element, Unsafe };

bool headerIsSafe(const CHeader &h)
{
    for (const QString *field :
         {&h.Author, &h.Company, &h.Web, &h.EMail, &h.Version, &h.Description}) {
        if (!xmlCharacters(*field))
            return false;
    }
    return true;
}

} // namespace

// The walk over the rows, with what it has worked out once per name and per action (keyed by
// the addresses of the steps' shared names and definitions, which must outlive the walk).
class QuickBlockChecker::Checker final {
public:
    // False once a row is not proven safe.
    bool row(const StepView &step) { return step && rowIsSafe(step); }
    bool closed() const { return m_open.empty(); }

private:
    // Steps share their action's name string, so its data identifies the name.
    Kind kindOf(const QString &name)
    {
        const auto known = m_byData.constFind(name.constData());
        if (known != m_byData.constEnd() && known->first == name.size())
            return known->second;
        const Kind kind = kindOfName(name);
        m_byData.insert(name.constData(), {name.size(), kind});
        return kind;
    }

    Kind kindOfName(const QString &name)
    {
        if (name == QLatin1String("if"))
            return Kind::If;
        if (name == QLatin1String("loop"))
            return Kind::Loop;
        if (name == QLatin1String("endif"))
            return Kind::EndIf;
        if (name == QLatin1String("endloop"))
            return Kind::EndLoop;
        const auto known = m_names.constFind(name);
        if (known != m_names.constEnd())
            return *known;
        const Kind kind =
            !startsWithCloser(name) && IsXmlElementName(name) ? Kind::Element : Kind::Unsafe;
        m_names.insert(name, kind);
        return kind;
    }

    bool rowIsSafe(const StepView &step)
    {
        if (step.IsComment()) // written as "<!--", CR LF, the text, CR LF, "-->"
            return step.ElementName().isEmpty() && commentSafe(step.Text(), true);
        switch (kindOf(step.ElementName())) {
        case Kind::EndIf: // "</if>", whatever else the step holds
            return close(Kind::If);
        case Kind::EndLoop:
            return close(Kind::Loop);
        case Kind::If:
        case Kind::Loop:
            if (step.Disabled()) // its whole line inside a comment: opens nothing
                return elementIsSafe(step);
            if (step.ContainsText() && !step.Text().isEmpty()) // a closed element, not an opener
                return false;
            m_open.push_back(step.ElementName() == QLatin1String("if") ? Kind::If : Kind::Loop);
            return elementIsSafe(step);
        case Kind::Element:
            return elementIsSafe(step);
        case Kind::Unsafe:
            break;
        }
        return false;
    }

    bool close(Kind opener)
    {
        if (m_open.empty() || m_open.back() != opener)
            return false;
        m_open.pop_back();
        return true;
    }

    // The element's attributes, values and text; within a comment when the step is disabled.
    bool elementIsSafe(const StepView &step)
    {
        const bool disabled = step.Disabled();
        if (disabled && step.ElementName().contains(QLatin1String("--")))
            return false;
        if (!attributeNamesAreSafe(step, disabled))
            return false;
        for (int i = 0, count = step.AttributeCount(); i < count; ++i) {
            const QString &value = step.ValueAt(i);
            if (!(disabled ? commentSafe(value) : xmlCharacters(value)))
                return false;
        }
        if (!step.ContainsText() || step.Text().isEmpty())
            return true;
        return disabled ? commentSafe(step.Text()) : xmlCharacters(step.Text());
    }

    // Names the parser reads back as attributes, each once; without "--" inside a comment.
    bool attributeNamesAreSafe(const StepView &step, bool inComment)
    {
        const CAttributeDefinitions *shared = step.SharedDefinitions();
        QHash<const CAttributeDefinitions *, char> &cache = inComment ? m_commented : m_enabled;
        if (shared) {
            const auto known = cache.constFind(shared);
            if (known != cache.constEnd())
                return *known != 0;
        }
        QSet<QString> seen;
        bool safe = true;
        for (int i = 0, count = step.AttributeCount(); i < count && safe; ++i) {
            const QString &name = step.DefinitionAt(i).AttributeName;
            safe = !seen.contains(name) && attributeName(name) &&
                   !(inComment && name.contains(QLatin1String("--")));
            seen.insert(name);
        }
        if (shared)
            cache.insert(shared, safe ? 1 : 0);
        return safe;
    }

    bool attributeName(const QString &name)
    {
        const auto known = m_attributeNames.constFind(name);
        if (known != m_attributeNames.constEnd())
            return *known;
        const bool valid = IsXmlAttributeName(name);
        m_attributeNames.insert(name, valid);
        return valid;
    }

    std::vector<Kind> m_open; // if and loop blocks not closed yet
    QHash<QString, Kind> m_names;
    QHash<const QChar *, std::pair<qsizetype, Kind>> m_byData; // valid while the walk lasts
    QHash<QString, bool> m_attributeNames;
    QHash<const CAttributeDefinitions *, char> m_enabled;   // names safe in a tag
    QHash<const CAttributeDefinitions *, char> m_commented; // ... and inside a comment
};

QuickBlockChecker::QuickBlockChecker() : m_checker(std::make_unique<Checker>()) {}

QuickBlockChecker::~QuickBlockChecker() = default;

void QuickBlockChecker::row(const StepView &step)
{
    ++m_rows;
    if (m_proven)
        m_proven = m_checker->row(step);
}

QuickCheck QuickBlockChecker::result(const CHeader &header) const
{
    return m_proven && m_checker->closed() && headerIsSafe(header) ? QuickCheck::Ok
                                                                   : QuickCheck::NeedsTextCheck;
}

void QuickBlockChecker::restart()
{
    m_checker = std::make_unique<Checker>();
    m_proven = true;
    m_rows = 0;
}

QuickCheck QuickBlockCheck(const CDocument &doc)
{
    QuickBlockChecker checker;
    doc.ForEachStep([&checker](int, const StepView &step, int) {
        if (checker.proven())
            checker.row(step);
    });
    return checker.result(doc.Header());
}
