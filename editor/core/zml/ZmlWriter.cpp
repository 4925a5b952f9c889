#include "core/zml/ZmlWriter.h"

#include "core/document/CDocument.h"
#include "core/document/StepText.h"
#include "core/zml/AnsiCodec.h"
#include "core/zml/QuickBlockCheck.h"
#include "core/zml/RegularFile.h"
#include "core/zml/TextSink.h"
#include "core/zml/Utf8Sink.h"
#include "core/zml/XmlTree.h"
#include "core/zml/ZmlText.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <future>
#include <system_error>
#include <type_traits>
#include <vector>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

std::function<bool(QSaveFile &)> &commitHook()
{
    static std::function<bool(QSaveFile &)> hook;
    return hook;
}

// The texts of this file and their translation context.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(ZmlWriter)
};

template <typename Sink> void appendHeaderLine(Sink &out, const char *name, const QString &value)
{
    out.spaces(8);
    out.add(QLatin1String("<"));
    out.add(QLatin1String(name));
    out.add(QLatin1String(">"));
    AppendEncodedText(out, value);
    out.add(QLatin1String("</"));
    out.add(QLatin1String(name));
    out.add(QLatin1String(">\r\n"));
}

// True when the UTF-8 text holds "<endif" or "<endloop" in any case.
// Offset of the "<" of the first "<endif" or "<endloop" (any case); -1 when there is none.
qsizetype strayCloser(const QByteArray &utf8)
{
    const char *begin = utf8.constData();
    const char *end = begin + utf8.size();
    for (const char *p = begin;
         (p = static_cast<const char *>(std::memchr(p, '<', std::size_t(end - p))));) {
        ++p;
        const qsizetype left = end - p;
        if ((left >= 5 && qstrnicmp(p, "endif", 5) == 0) ||
            (left >= 7 && qstrnicmp(p, "endloop", 7) == 0))
            return p - 1 - begin;
    }
    return -1;
}

// Line and column of a byte offset.
TextPlace placeOf(const QByteArray &utf8, qsizetype offset)
{
    const QByteArray before = utf8.left(offset);
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    return {int(before.count('\n')) + 1, int(offset - lineStart) + 1};
}

BlockCheck checkUtf8(const QByteArray &utf8)
{
    XmlEventParser parser(nullptr);
    if (!parser.parse(utf8))
        return {BlockCheckResult::Unbalanced, parser.errorPlace()};
    if (const qsizetype at = strayCloser(utf8); at >= 0)
        return {BlockCheckResult::StrayCloser, placeOf(utf8, at)};
    return {};
}

} // namespace

namespace {

template <typename Sink> void appendHeader(Sink &out, const CHeader &header)
{
    out.add(QLatin1String("    <zmlhead>\r\n"));
    appendHeaderLine(out, "author", header.Author);
    appendHeaderLine(out, "company", header.Company);
    appendHeaderLine(out, "web", header.Web);
    appendHeaderLine(out, "email", header.EMail);
    appendHeaderLine(out, "version", header.Version);
    appendHeaderLine(out, "description", header.Description);
    out.add(QLatin1String("    </zmlhead>\r\n"));
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

// Room to reserve for the body text, so that it is built without growing the buffer in most
// scripts: rows are not measured one by one (their text is not stored). Generous, since room
// never written is never touched; a longer text grows the buffer.
qsizetype bodySize(const StepRowsModel &rows)
{
    constexpr qsizetype kRowEstimate = 160; // indent, a step with several attributes, CR LF
    return 64 + kRowEstimate * rows.count();
}

// AppendStepText, with the tags' pieces from pieces when given and the sink writes UTF-8.
template <typename Sink>
void appendStepText(Sink &out, const StepView &step, StepForm form, StepTagPieces *pieces)
{
    if constexpr (std::is_same_v<Sink, Utf8Sink>) {
        if (pieces)
            return AppendStepText(out, step, form, *pieces);
    }
    AppendStepText(out, step, form);
}

// One row of the body, with its line break.
template <typename Sink>
void appendRow(Sink &out, const StepView &step, int depth, StepTagPieces *pieces = nullptr)
{
    const int indent = rowIndent(depth);
    out.spaces(4);
    const QString &name = step.ElementName();
    if (name == QLatin1String("endif")) {
        out.spaces(indent);
        out.add(QLatin1String("</if>"));
    } else if (name == QLatin1String("endloop")) {
        out.spaces(indent);
        out.add(QLatin1String("</loop>"));
    } else if (name == QLatin1String("if") || name == QLatin1String("loop")) {
        // A disabled opener keeps its whole form inside the comment, so that it reads back as
        // the same step; it opens no element.
        out.spaces(indent);
        appendStepText(out, step, step.Disabled() ? StepForm::Line : StepForm::Opening, pieces);
    } else {
        if (!step.IsComment())
            out.spaces(indent);
        appendStepText(out, step, StepForm::Line, pieces);
    }
    out.add(QLatin1String("\r\n"));
}

template <typename Sink> void appendBody(Sink &out, const CDocument &doc)
{
    const StepRowsModel &rows = *doc.Rows();
    out.add(QLatin1String("    <zmlbody>\r\n"));
    StepTagPieces pieces;
    doc.ForEachStep([&](int row, const StepView &step, int depth) {
        if (step) {
            appendRow(out, step, depth, &pieces);
        } else { // not made by the document: the row's own text
            out.spaces(4 + rowIndent(depth));
            out.add(rows.rowText(row));
            out.add(QLatin1String("\r\n"));
        }
    });
    out.add(QLatin1String("    </zmlbody>\r\n"));
}

template <typename Sink> void appendDocument(Sink &out, const CDocument &doc)
{
    out.add(QLatin1String(kZmlRootLine));
    out.add(QLatin1String("\r\n"));
    appendHeader(out, doc.Header());
    appendBody(out, doc);
    out.add(QLatin1String("</zml>"));
}

} // namespace

QString BuildHeaderText(const CHeader &header)
{
    QString out;
    TextSink sink(out);
    appendHeader(sink, header);
    return out;
}

QString BuildBodyText(const CDocument &doc)
{
    QString out;
    out.reserve(bodySize(*doc.Rows()));
    TextSink sink(out);
    appendBody(sink, doc);
    return out;
}

QString BuildDocumentText(const CDocument &doc)
{
    QString out;
    out.reserve(bodySize(*doc.Rows()) + 1024);
    TextSink sink(out);
    appendDocument(sink, doc);
    return out;
}

QByteArray BuildDocumentUtf8(const CDocument &doc)
{
    Utf8Sink sink(bodySize(*doc.Rows()) + 1024);
    appendDocument(sink, doc);
    return sink.take();
}

bool CheckZmlName(const QString &fileName)
{
    return !fileName.isEmpty() && fileName.right(4).toLower() == QLatin1String(".zml");
}

BlockCheckResult CheckBlocks(const QString &documentText)
{
    return checkUtf8(documentText.toUtf8()).Result;
}

BlockCheckResult CheckBlocksUtf8(const QByteArray &documentUtf8)
{
    return checkUtf8(documentUtf8).Result;
}

BlockCheck CheckBlocksAt(const QByteArray &documentUtf8)
{
    return checkUtf8(documentUtf8);
}

QString BlockCheckMessage(BlockCheckResult result)
{
    switch (result) {
    case BlockCheckResult::Ok:
        return QString();
    case BlockCheckResult::Unbalanced:
        return Texts::tr("If without End If or Loop without End Loop. Save action aborted.");
    case BlockCheckResult::StrayCloser:
        return Texts::tr("End If without If or End Loop without Loop. Save action aborted.");
    }
    return QString();
}

QString DisabledBlockMessage(const CDocument &doc)
{
    std::vector<int> open; // rows of the if and loop steps not closed yet
    for (int row = 0, count = doc.RowCount(); row < count; ++row) {
        const StepView step = doc.View(row);
        if (!step || step.IsComment())
            continue;
        const QString &name = step.ElementName();
        if (name == QLatin1String("if") || name == QLatin1String("loop")) {
            open.push_back(row);
        } else if ((name == QLatin1String("endif") || name == QLatin1String("endloop")) &&
                   !open.empty()) {
            const int opener = open.back();
            open.pop_back();
            if (!doc.View(opener).Disabled())
                continue;
            const QString text =
                doc.ElementName(opener) == QLatin1String("if")
                    ? Texts::tr("Step %1 is a disabled If, but its End If is still in the script. "
                                "Enable the step or delete its End If. Save action aborted.")
                    : Texts::tr(
                          "Step %1 is a disabled Loop, but its End Loop is still in the script. "
                          "Enable the step or delete its End Loop. Save action aborted.");
            return text.arg(opener + 1);
        }
    }
    return QString();
}

QString BlockCheckMessage(const CDocument &doc, BlockCheckResult result)
{
    if (result == BlockCheckResult::Unbalanced) {
        QString named = DisabledBlockMessage(doc);
        if (!named.isEmpty())
            return named;
    }
    return BlockCheckMessage(result);
}

QString SaveFailedMessage()
{
    return Texts::tr("Can't save the file. Make sure the file and folder isn't write protected");
}

QString SpecialFileSaveMessage(const QString &path)
{
    return Texts::tr("This is a device or a pipe, not a file: it was left as it is and the script "
                     "was not saved\r\n'%1'")
        .arg(path);
}

QString SavedFileName(const QString &path, bool nameJustChosen)
{
    return nameJustChosen && !CheckZmlName(path) ? path + QStringLiteral(".zml") : path;
}

QString SavedNameToConfirm(const QString &chosenPath)
{
    const QString saved = SavedFileName(chosenPath, true);
    return saved != chosenPath && QFileInfo::exists(saved) ? saved : QString();
}

void SetSaveCommitHook(std::function<bool(QSaveFile &)> hook)
{
    commitHook() = std::move(hook);
}

namespace {

// Ends a save whose text was written to file: commits it (through the test seam) and tells how
// that went.
SaveResult commitSave(CDocument &doc, QSaveFile &file, bool written)
{
    SaveResult result;
    result.fileName = file.fileName();
    if (written && commitHook())
        written = commitHook()(file);
    if (written)
        written = file.commit();
    else
        file.cancelWriting();
    if (!written) {
        result.status = SaveResult::Status::WriteFailed;
        return result;
    }
    doc.SetDirty(false);
    result.status = SaveResult::Status::Saved;
    return result;
}

// A UTF-8 save that writes the text to the file in pieces, never holding it whole, while the
// rows are walked (QuickBlockCheck) on another thread for a large script; the file is committed
// only when the walk proves the text well-formed. nullopt, with nothing written, when it does
// not: the text must then be checked.
std::optional<SaveResult> saveStreamed(CDocument &doc, const QString &fileName, bool blocksProven)
{
    constexpr int kRowsWorthAThread = 4096;
    std::future<QuickCheck> walk;
    if (!blocksProven && doc.RowCount() >= kRowsWorthAThread) {
        try {
            // Both threads only read the document.
            walk = std::async(std::launch::async, [&doc] { return QuickBlockCheck(doc); });
        } catch (const std::system_error &) {
            // No thread to be had: the rows are walked first, on this one.
        }
    }
    if (!blocksProven && !walk.valid() && QuickBlockCheck(doc) != QuickCheck::Ok)
        return std::nullopt;
    QSaveFile file(fileName);
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        constexpr qsizetype kPiece = 1 << 20;
        Utf8Sink sink(&file, kPiece);
        appendDocument(sink, doc);
        sink.add(QLatin1String("\r\n"));
        written = sink.flush();
    }
    if (walk.valid() && walk.get() != QuickCheck::Ok) {
        file.cancelWriting();
        return std::nullopt;
    }
    doc.SetFileName(fileName);
    return commitSave(doc, file, written);
}

} // namespace

SaveResult SaveDocument(CDocument &doc, const QString &path, bool nameJustChosen, bool blocksProven)
{
    SaveResult result;
    const QString fileName = SavedFileName(path, nameJustChosen);
    result.fileName = fileName;
    if (IsSpecialFile(fileName)) {
        result.status = SaveResult::Status::Special;
        return result;
    }

    doc.Settle();
    const bool utf8System = AnsiCodec::systemIsUtf8();
    if (utf8System) {
        if (std::optional<SaveResult> streamed = saveStreamed(doc, fileName, blocksProven))
            return *streamed;
    }
    // The text is built whole and parsed again when walking the rows could not prove it
    // well-formed; on a system that is not UTF-8 it is then encoded from the text checked.
    QString text;
    QByteArray utf8;
    if (utf8System) {
        utf8 = BuildDocumentUtf8(doc);
    } else {
        text = BuildDocumentText(doc);
        utf8 = text.toUtf8();
    }
    if (utf8System || !(blocksProven || QuickBlockCheck(doc) == QuickCheck::Ok))
        result.check = checkUtf8(utf8);
    if (result.check.Result != BlockCheckResult::Ok) {
        result.status = SaveResult::Status::Blocks;
        return result;
    }

    doc.SetFileName(fileName);
    QByteArray bytes;
    if (utf8System) {
        utf8.append("\r\n");
        bytes = std::move(utf8);
    } else {
        utf8.clear();
        bytes = AnsiCodec::encode(text + kCrLf);
    }
    QSaveFile file(fileName);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    return commitSave(doc, file, written);
}

StreamedSave::StreamedSave(const QString &path) : m_path(path) {}

StreamedSave::~StreamedSave() = default;

void StreamedSave::header(const CHeader &header)
{
    if (m_file || m_abandoned)
        return abandon(); // a second header: not the file this expects
    m_file = std::make_unique<QSaveFile>(m_path);
    if (!m_file->open(QIODevice::WriteOnly))
        return abandon();
    m_header = std::make_unique<CHeader>(header);
    m_pieces = std::make_unique<StepTagPieces>();
    constexpr qsizetype kPiece = 1 << 20;
    m_sink = std::make_unique<Utf8Sink>(m_file.get(), kPiece);
    m_sink->add(QLatin1String(kZmlRootLine));
    m_sink->add(QLatin1String("\r\n"));
    appendHeader(*m_sink, header);
    m_sink->add(QLatin1String("    <zmlbody>\r\n"));
}

void StreamedSave::rows(const StagedSteps &steps, int first, int count)
{
    if (!m_sink || first != m_rows)
        return abandon();
    for (int row = first; row < first + count; ++row)
        appendRow(*m_sink, steps.View(row), row == 0 ? 0 : steps.Depth(row), m_pieces.get());
    m_rows += count;
    if (!m_sink->ok())
        abandon();
}

void StreamedSave::abandon()
{
    m_abandoned = true;
    m_sink.reset();
    if (m_file)
        m_file->cancelWriting();
    m_file.reset();
}

std::optional<SaveResult> StreamedSave::Finish(CDocument &doc, bool blocksProven)
{
    const auto sameHeader = [&doc, this] {
        return BuildHeaderText(doc.Header()) == BuildHeaderText(*m_header);
    };
    if (m_abandoned || !m_sink || !blocksProven || doc.RowCount() != m_rows || !sameHeader()) {
        abandon();
        return std::nullopt;
    }
    doc.SetFileName(m_path);
    m_sink->add(QLatin1String("    </zmlbody>\r\n</zml>\r\n"));
    const bool written = m_sink->flush();
    m_sink.reset();
    const SaveResult result = commitSave(doc, *m_file, written);
    m_file.reset();
    m_abandoned = true;
    return result;
}
