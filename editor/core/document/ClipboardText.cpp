#include "core/document/ClipboardText.h"

#include "core/document/CDocument.h"
#include "core/document/EditRules.h"
#include "core/document/StepRowsModel.h"
#include "core/zml/ZmlReader.h"

#include <QStringView>

#include <algorithm>
#include <utility>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kCommentStart = QStringLiteral("<!--");
const QString kCommentEnd = QStringLiteral("-->");

// The parts of a text inside XML comments. A tag that starts inside a comment is only matched
// with a delimiter inside the same comment, and a tag outside comments only with one before
// the next comment, so a comment that mentions "<if " cannot take the slash of a neighbouring
// step.
class Regions final {
public:
    explicit Regions(const QString &text)
    {
        qsizetype from = 0;
        while (true) {
            const qsizetype open = text.indexOf(kCommentStart, from);
            if (open < 0)
                break;
            const qsizetype close = text.indexOf(kCommentEnd, open + kCommentStart.size());
            m_comments.push_back({open, close < 0 ? text.size() : close});
            if (close < 0)
                break;
            from = close + kCommentEnd.size();
        }
        m_textSize = text.size();
    }

    // Position where the region holding pos ends (exclusive): the comment's "-->" inside a
    // comment, the next "<!--" outside. Positions must not decrease between calls.
    qsizetype regionEnd(qsizetype pos)
    {
        while (m_next < m_comments.size() && m_comments[m_next].second <= pos)
            ++m_next;
        if (m_next == m_comments.size())
            return m_textSize;
        const auto &[open, close] = m_comments[m_next];
        return pos >= open ? close : open;
    }

private:
    std::vector<std::pair<qsizetype, qsizetype>> m_comments; // "<!--" index, "-->" index
    std::size_t m_next = 0;
    qsizetype m_textSize = 0;
};

// The first occurrence of a needle at or after a position, for positions that never decrease:
// a search is repeated only once the position has passed the last occurrence found, so all the
// searches together read the text once.
class ForwardFinder final {
public:
    ForwardFinder(const QString &text, QString needle) : m_text(text), m_needle(std::move(needle))
    {}
    // -1 when there is none.
    qsizetype from(qsizetype pos)
    {
        const bool stale = m_found >= 0 ? m_found < pos : pos < m_searchedFrom;
        if (m_found == -1 || stale) {
            m_searchedFrom = pos;
            m_found = m_text.indexOf(m_needle, pos);
            if (m_found < 0)
                m_found = -2; // none at or after m_searchedFrom
        }
        return m_found < 0 ? -1 : m_found;
    }

private:
    const QString &m_text;
    QString m_needle;
    qsizetype m_found = -1; // -1: not searched yet; -2: none from m_searchedFrom on
    qsizetype m_searchedFrom = 0;
};

// Removes the slash of the first "/>" that follows each occurrence of tag (within its region).
// Several occurrences before one "/>" take one slash each, as a sequential edit would.
QString dropSlashAfter(const QString &text, const QString &tag)
{
    std::vector<qsizetype> drops;
    Regions regions(text);
    ForwardFinder closes(text, QStringLiteral("/>"));
    qsizetype lastDrop = -1;
    for (qsizetype at = text.indexOf(tag); at >= 0; at = text.indexOf(tag, at + 1)) {
        const qsizetype limit = regions.regionEnd(at);
        const qsizetype from = std::max(at + tag.size(), lastDrop + 1);
        const qsizetype close = closes.from(from);
        if (close < 0)
            break;
        if (close + 2 > limit)
            continue;
        drops.push_back(close);
        lastDrop = close;
    }
    if (drops.empty())
        return text;
    QString result;
    result.reserve(text.size());
    qsizetype copied = 0;
    for (qsizetype d : drops) {
        result += QStringView(text).mid(copied, d - copied);
        copied = d + 1;
    }
    result += QStringView(text).mid(copied);
    return result;
}

// Inserts " /" before the first ">" that follows each occurrence of tag (within its region)
// unless a "/" stands before it already; after a blank only "/" is inserted, so that the
// nested form of a copied opener ("<if a=\"1\" >") gets back exactly the text it had (a
// disabled opener is restored from its comment only when the text is exactly the step's).
QString closeTagsAfter(const QString &text, const QString &tag)
{
    std::vector<qsizetype> inserts;
    Regions regions(text);
    ForwardFinder closes(text, QStringLiteral(">"));
    qsizetype lastClose = -1;
    for (qsizetype at = text.indexOf(tag); at >= 0; at = text.indexOf(tag, at + 1)) {
        const qsizetype limit = regions.regionEnd(at);
        // The ">" found for an earlier occurrence is the first one after this one too.
        const qsizetype close = lastClose > at ? lastClose : closes.from(at + tag.size());
        if (close < 0)
            break;
        if (close >= limit)
            continue;
        lastClose = close;
        if (text.at(close - 1) != QLatin1Char('/') && (inserts.empty() || inserts.back() != close))
            inserts.push_back(close);
    }
    if (inserts.empty())
        return text;
    QString result;
    result.reserve(text.size() + 2 * static_cast<qsizetype>(inserts.size()));
    qsizetype copied = 0;
    for (qsizetype i : inserts) {
        result += QStringView(text).mid(copied, i - copied);
        result += text.at(i - 1).isSpace() ? QStringLiteral("/") : QStringLiteral(" /");
        copied = i;
    }
    result += QStringView(text).mid(copied);
    return result;
}

} // namespace

namespace ClipboardText {

QString CopyText(const StepRowsModel &model, const std::vector<int> &rows)
{
    if (rows.empty())
        return {};
    // Row texts may be built on demand: each is asked for once, the room is estimated.
    QString text;
    text.reserve(static_cast<qsizetype>(rows.size()) * 100);
    for (int r : rows) {
        text += model.rowText(r);
        text += kCrLf;
    }
    return NestBlocks(std::move(text));
}

QString NestBlocks(QString text)
{
    text.replace(QStringLiteral("<endloop />"), QStringLiteral("</loop>"));
    text.replace(QStringLiteral("<endif />"), QStringLiteral("</if>"));
    text = dropSlashAfter(text, QStringLiteral("<if "));
    return dropSlashAfter(text, QStringLiteral("<loop "));
}

QString FlattenBlocks(QString text)
{
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), kCrLf);
    text.replace(QStringLiteral("</if>"), QStringLiteral("<endif />"));
    text.replace(QStringLiteral("</loop>"), QStringLiteral("<endloop />"));
    text = closeTagsAfter(text, QStringLiteral("<if "));
    return closeTagsAfter(text, QStringLiteral("<loop "));
}

QString PasteDocument(const QString &clipboardText)
{
    const QString wrapper = QString::fromLatin1(kWrapperElement);
    return QLatin1Char('<') + wrapper + QLatin1Char('>') + kCrLf + FlattenBlocks(clipboardText) +
           kCrLf + QStringLiteral("</") + wrapper + QLatin1Char('>');
}

PastedSteps PasteSteps(CDocument &doc, const QString &clipboardText, int firstSelected)
{
    const int position = EditRules::PastePosition(firstSelected);
    const int countBefore = doc.RowCount();
    const int inserted = InsertXmlFragment(doc, PasteDocument(clipboardText), position);
    PastedSteps pasted;
    if (inserted <= 0)
        return pasted;
    pasted.first = position < 0 || position >= countBefore ? countBefore : position;
    pasted.count = inserted;
    pasted.last = pasted.first + inserted - 1;
    return pasted;
}

} // namespace ClipboardText
