#include "document/ZmlWriter.h"

#include "controls/MessageService.h"
#include "document/AnsiCodec.h"
#include "document/CDocument.h"
#include "document/XmlTree.h"
#include "document/ZmlText.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

std::function<bool(QSaveFile &)> &commitHook()
{
    static std::function<bool(QSaveFile &)> hook;
    return hook;
}

QString tr(const char *text)
{
    return QCoreApplication::translate("ZmlWriter", text);
}

void appendHeaderLine(QString &out, const char *name, const QString &value)
{
    out += QStringLiteral("        <") + QLatin1String(name) + QLatin1Char('>') +
           EncodeText(value) + QStringLiteral("</") + QLatin1String(name) + QLatin1Char('>') +
           kCrLf;
}

void appendSpaces(QString &out, int count)
{
    static const QString spaces(256, QLatin1Char(' '));
    for (; count > 0; count -= 256)
        out.append(QStringView(spaces).left(std::min(count, 256)));
}

// The opening tag form of an if/loop row: every " />" becomes ">".
QString openingForm(const QString &rowText)
{
    QString s = rowText;
    s.replace(QStringLiteral(" />"), QStringLiteral(">"));
    return s;
}

// True when the UTF-8 text holds "<endif" or "<endloop" in any case.
bool containsStrayCloser(const QByteArray &utf8)
{
    const char *p = utf8.constData();
    const char *end = p + utf8.size();
    while ((p = static_cast<const char *>(std::memchr(p, '<', std::size_t(end - p))))) {
        ++p;
        const qsizetype left = end - p;
        if ((left >= 5 && qstrnicmp(p, "endif", 5) == 0) ||
            (left >= 7 && qstrnicmp(p, "endloop", 7) == 0))
            return true;
    }
    return false;
}

BlockCheckResult checkUtf8(const QByteArray &utf8)
{
    if (!XmlTree::isWellFormedUtf8(utf8))
        return BlockCheckResult::Unbalanced;
    if (containsStrayCloser(utf8))
        return BlockCheckResult::StrayCloser;
    return BlockCheckResult::Ok;
}

} // namespace

namespace {

void appendHeader(QString &out, const CHeader &header)
{
    out += QStringLiteral("    <zmlhead>") + kCrLf;
    appendHeaderLine(out, "author", header.Author);
    appendHeaderLine(out, "company", header.Company);
    appendHeaderLine(out, "web", header.Web);
    appendHeaderLine(out, "email", header.EMail);
    appendHeaderLine(out, "version", header.Version);
    appendHeaderLine(out, "description", header.Description);
    out += QStringLiteral("    </zmlhead>") + kCrLf;
}

// Blanks before a row of the given depth: four a level, one level more than the depth. Deeper
// than kMaxIndentedDepth the indentation stays the same, so that scripts nested many thousand
// levels deep (possible in files) do not grow quadratically when written; the reader takes the
// depth from the nesting, never from the blanks.
constexpr int kMaxIndentedDepth = 64;
int rowIndent(int depth)
{
    return 4 * (std::clamp(depth, 0, kMaxIndentedDepth) + 1);
}

qsizetype bodySize(const StepRowsModel &rows)
{
    qsizetype size = 64;
    for (int i = 0; i < rows.count(); ++i)
        size += rows.rowText(i).size() + rowIndent(rows.depth(i)) + 6;
    return size;
}

void appendBody(QString &out, const CDocument &doc)
{
    const StepRowsModel &rows = *doc.Rows();
    const int count = rows.count();
    out += QStringLiteral("    <zmlbody>") + kCrLf;
    for (int i = 0; i < count; ++i) {
        const StepRow &row = rows.row(i);
        const auto step = doc.Step(i);
        const QString name = step ? step->ElementName : QString();
        const bool comment = step && step->IsComment;
        const int indent = rowIndent(row.depth);
        appendSpaces(out, 4);
        if (name == QLatin1String("endif")) {
            appendSpaces(out, indent);
            out += QLatin1String("</if>");
        } else if (name == QLatin1String("endloop")) {
            appendSpaces(out, indent);
            out += QLatin1String("</loop>");
        } else if (name == QLatin1String("if") || name == QLatin1String("loop")) {
            appendSpaces(out, indent);
            out += openingForm(row.text);
        } else {
            if (!comment)
                appendSpaces(out, indent);
            out += row.text;
        }
        out += kCrLf;
    }
    out += QStringLiteral("    </zmlbody>") + kCrLf;
}

} // namespace

QString BuildHeaderText(const CHeader &header)
{
    QString out;
    appendHeader(out, header);
    return out;
}

QString BuildBodyText(const CDocument &doc)
{
    QString out;
    out.reserve(bodySize(*doc.Rows()));
    appendBody(out, doc);
    return out;
}

QString BuildDocumentText(const CDocument &doc)
{
    QString out;
    out.reserve(bodySize(*doc.Rows()) + 1024);
    out += QLatin1String(kZmlRootLine) + kCrLf;
    appendHeader(out, doc.Header());
    appendBody(out, doc);
    out += QLatin1String("</zml>");
    return out;
}

bool CheckZmlName(const QString &fileName)
{
    return !fileName.isEmpty() && fileName.right(4).toLower() == QLatin1String(".zml");
}

BlockCheckResult CheckBlocks(const QString &documentText)
{
    return checkUtf8(documentText.toUtf8());
}

QString BlockCheckMessage(BlockCheckResult result)
{
    switch (result) {
    case BlockCheckResult::Ok:
        return QString();
    case BlockCheckResult::Unbalanced:
        return tr("If without End If or Loop without End Loop. Save action aborted.");
    case BlockCheckResult::StrayCloser:
        return tr("End If without If or End Loop without Loop. Save action aborted.");
    }
    return QString();
}

QString SaveFailedMessage()
{
    return tr("Can't save the file. Make sure the file and folder isn't write protected");
}

void SetSaveCommitHook(std::function<bool(QSaveFile &)> hook)
{
    commitHook() = std::move(hook);
}

bool SaveDocument(CDocument &doc, const QString &path, bool nameJustChosen)
{
    QString fileName = path;
    if (nameJustChosen && !CheckZmlName(fileName))
        fileName += QStringLiteral(".zml");

    const QString text = BuildDocumentText(doc);
    QByteArray utf8 = text.toUtf8();
    const BlockCheckResult check = checkUtf8(utf8);
    if (check != BlockCheckResult::Ok) {
        ShowMessage(BlockCheckMessage(check), MsgIcon::Critical);
        return false;
    }

    doc.SetFileName(fileName);
    emit doc.recentFileAdded(fileName);

    QByteArray bytes;
    if (AnsiCodec::systemIsUtf8()) {
        utf8.append("\r\n");
        bytes = std::move(utf8);
    } else {
        utf8.clear();
        bytes = AnsiCodec::encode(text + kCrLf);
    }

    QSaveFile file(fileName);
    bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    if (ok && commitHook())
        ok = commitHook()(file);
    if (ok)
        ok = file.commit();
    else
        file.cancelWriting();
    if (!ok) {
        ShowMessage(SaveFailedMessage(), MsgIcon::Critical);
        return false;
    }
    doc.SetDirty(false);
    return true;
}
