#pragma once

#include "core/zml/XmlEventParser.h"
#include "core/zml/ZmlReader.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class CDocument;
class CHeader;
class QSaveFile;
class StepTagPieces;
class Utf8Sink;

// The root line of every script.
inline constexpr const char *kZmlRootLine = "<zml version=\"1.0\" edition=\"Tessaro\">";

// The header block: "    <zmlhead>" to "    </zmlhead>", eight lines each ended by CR LF.
QString BuildHeaderText(const CHeader &header);
// The body block: "    <zmlbody>", one line per row (a comment row may span several
// lines), "    </zmlbody>", each ended by CR LF. if/loop rows become start tags and
// endif/endloop rows end tags.
QString BuildBodyText(const CDocument &doc);
// The root line, CR LF, the header and body blocks and "</zml>": the text Save writes, which
// adds one CR LF after it.
QString BuildDocumentText(const CDocument &doc);
// The same text as UTF-8.
QByteArray BuildDocumentUtf8(const CDocument &doc);

// True when fileName ends in ".zml" in any case.
bool CheckZmlName(const QString &fileName);

// Block balance check done before saving (and by the command line).
enum class BlockCheckResult {
    Ok,
    Unbalanced, // not well-formed: an opener without closer, crossed blocks, "--" in a comment
    StrayCloser // "<endif" or "<endloop" in the text (any case)
};
BlockCheckResult CheckBlocks(const QString &documentText);
// The same check on the text as UTF-8 (BuildDocumentUtf8).
BlockCheckResult CheckBlocksUtf8(const QByteArray &documentUtf8);
// The check with the place of its fault: where the parser stopped for Unbalanced, the "<" of
// the first stray closer for StrayCloser.
struct BlockCheck {
    BlockCheckResult Result = BlockCheckResult::Ok;
    TextPlace Place;
};
BlockCheck CheckBlocksAt(const QByteArray &documentUtf8);
// The message of a failed check (empty for Ok).
QString BlockCheckMessage(BlockCheckResult result);

// When a disabled if or loop row is closed by an endif or endloop row (its start tag is inside
// a comment, so the end tag closes nothing), the message that names it; otherwise empty.
QString DisabledBlockMessage(const CDocument &doc);
// The message of a failed check of doc's text: DisabledBlockMessage when it applies.
QString BlockCheckMessage(const CDocument &doc, BlockCheckResult result);

// Message shown when the file cannot be written.
QString SaveFailedMessage();
// Message shown when the file to save names a device, FIFO or socket, which is left as it is.
QString SpecialFileSaveMessage(const QString &path);

// The name a save writes: path, with ".zml" appended when the name was just chosen and lacks it.
QString SavedFileName(const QString &path, bool nameJustChosen);
// For a name just chosen in the save dialog, which asked only about that name: the name the
// save writes when it differs (".zml" added) and a file of that name exists, which the user is
// to be asked about; otherwise empty.
QString SavedNameToConfirm(const QString &chosenPath);

// What saving a script came to, and why.
struct SaveResult {
    enum class Status {
        Saved,
        Special,    // the target is a device, FIFO or socket, left as it is
        Blocks,     // the script's blocks do not balance (check tells where)
        WriteFailed // the file could not be written; the previous one is as it was
    };
    Status status = Status::WriteFailed;
    QString fileName; // the name written (or to be written)
    BlockCheck check;
    bool ok() const { return status == Status::Saved; }
    explicit operator bool() const { return ok(); }
};

// Saves doc to path once a name is known. When nameJustChosen, ".zml" is appended to a name that
// lacks it. Refuses a device, FIFO or socket and an unbalanced document (the target is left as
// it is). Otherwise sets the document's file name, writes the file atomically (a failed write
// leaves the previous file as it was) in the system code page with CR LF line ends, and clears
// Dirty. Nothing is shown: SaveNotices (ZmlNotices.h) phrases the result. blocksProven tells
// that QuickBlockCheck(doc) answered Ok and doc has not changed since (it is not asked again).
SaveResult SaveDocument(CDocument &doc, const QString &path, bool nameJustChosen,
                        bool blocksProven = false);

// Writes a file with the text Save would write for a script while the script is being read
// from another file (for the command line's format, whose output is then ready as soon as the
// reading ends): the header once known, then the rows as they are read. Finish completes and
// commits the file when what it wrote is exactly the document that was opened; otherwise, or
// when the reading started again or anything failed, the file is never committed.
class StreamedSave final : public OpenObserver {
public:
    explicit StreamedSave(const QString &path);
    ~StreamedSave() override;
    StreamedSave(const StreamedSave &) = delete;
    StreamedSave &operator=(const StreamedSave &) = delete;

    void header(const CHeader &header) override;
    void rows(const StagedSteps &steps, int first, int count) override;
    void restarted() override { abandon(); }

    // Once doc was opened with this observing: saves it as SaveDocument(doc, path, false,
    // blocksProven) would when the file holds doc's text; nullopt when it does not (the target
    // is left untouched: save doc in the usual way then).
    std::optional<SaveResult> Finish(CDocument &doc, bool blocksProven);

private:
    void abandon();

    QString m_path;
    std::unique_ptr<QSaveFile> m_file;
    std::unique_ptr<Utf8Sink> m_sink;
    std::unique_ptr<CHeader> m_header;
    std::unique_ptr<StepTagPieces> m_pieces;
    int m_rows = 0;
    bool m_abandoned = false;
};

// Test seam: called with the open save file after the text was written and before it is
// committed; returning false makes the save fail (as a failed write would). Pass an empty
// function to remove it.
void SetSaveCommitHook(std::function<bool(QSaveFile &)> hook);
