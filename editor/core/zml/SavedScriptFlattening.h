#pragma once

// The lenient read of a recovery file: a script as Save writes it, whose blocks need not
// balance, made well-formed for the reader. Internal to the ZML reader.

#include "core/zml/XmlEventParser.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <string_view>
#include <vector>

namespace ZmlRecovery {

// Target of the processing instructions that stand for comments set aside.
inline constexpr std::string_view kCommentTarget = "stepsmith-comment";

// A script as Save writes it, made well-formed whether its blocks balance or not: outside
// comments "</if>" and "</loop>" become "<endif />" and "<endloop />" and the start tags of if
// and loop close themselves (the reader gives this flat form the rows and depths of the nested
// one), and each comment is set aside and replaced by a processing instruction holding its
// index, since Save writes a comment step's text as it is ("--" and "-->" included). Outside
// comments every "<" starts a tag and the first ">" ends it, since values and texts are
// written escaped.
struct FlatScript {
    QByteArray text;                  // UTF-8
    std::vector<QByteArray> comments; // UTF-8, between "<!--" and "-->"
};

// Empty when a comment or a tag is cut short.
std::optional<FlatScript> flattenSavedScript(const QString &text);

// Hands a parser's events on, with the comments set aside by flattenSavedScript in place of
// the processing instructions that stand for them.
class CommentsPutBack final : public XmlEventHandler {
public:
    CommentsPutBack(XmlEventHandler &to, const std::vector<QByteArray> &comments)
        : m_to(to), m_comments(comments)
    {}
    void startElement(std::string_view name, const Attribute *attributes, int count,
                      bool selfClosing) override
    {
        m_to.startElement(name, attributes, count, selfClosing);
    }
    void endElement() override { m_to.endElement(); }
    void characters(XmlNodeType kind, std::string_view text, std::string_view target) override
    {
        if (kind == XmlNodeType::ProcessingInstruction && target == kCommentTarget) {
            bool number = false;
            const qsizetype index =
                QByteArray(text.data(), qsizetype(text.size())).toLongLong(&number);
            if (number && index >= 0 && std::size_t(index) < m_comments.size()) {
                const QByteArray &comment = m_comments[std::size_t(index)];
                m_to.characters(XmlNodeType::Comment,
                                std::string_view(comment.constData(), std::size_t(comment.size())),
                                {});
                return;
            }
        }
        m_to.characters(kind, text, target);
    }

private:
    XmlEventHandler &m_to;
    const std::vector<QByteArray> &m_comments;
};

} // namespace ZmlRecovery
