#pragma once

#include "core/zml/XmlEventParser.h"

#include <QString>
#include <QStringList>

#include <vector>

class CDocument;
class CHeader;
class StagedSteps;
class XmlNode;

// What opening a script came to, and why.
struct OpenResult {
    enum class Status {
        Opened,
        Missing,    // no file of that name
        Unreadable, // the file exists but cannot be read
        Special,    // a device, FIFO or socket, never read
        Corrupt,    // not well-formed XML
        NotZml,     // the root element is not "zml"
        BadVersion, // the root's version is not "1.0"
        NoHeader,   // the first element inside the root is not "zmlhead"
        NoBody,     // the second element inside the root is not "zmlbody"
    };
    Status status = Status::Unreadable;
    QString path;
    // Where the fault is: the parser's place for Corrupt, the element at fault for the others
    // (the root for NotZml and BadVersion).
    TextPlace place;
    // Header elements the script does not know, each name once in the order met (they are
    // dropped), and whether the header lacked a version (1.0 is used).
    QStringList unknownHeaderElements;
    bool versionMissing = false;
    // Where each unknown header element (as listed) is met first, and the header's place when it
    // lacked a version.
    QList<TextPlace> unknownHeaderPlaces;
    TextPlace versionPlace;
    // Where the element, comment or end tag of each row read is, by row.
    std::vector<TextPlace> rowPlaces;
    // The pieces the file was parsed in at once (see SetOpenPieces).
    int pieces = 1;

    bool ok() const { return status == Status::Opened; }
    explicit operator bool() const { return ok(); }
};

// Opens the script at path into doc (the window has already asked to save changes and chosen
// the path). Clears Dirty first. A file that cannot be read, is not well-formed XML or has a
// wrong root element, version, header or body leaves the document as it was (but unchanged).
// Otherwise replaces the document: header, steps and rows from the file, the file name, Dirty
// false; loadingStarted/loadingFinished bracket the row insertion. A device or pipe is refused
// without being read. Text in the system code page (bytes invalid in it read as Windows-1252)
// and UTF-16 text are read as a stream. Nothing is shown: OpenNotices (ZmlNotices.h) phrases
// the result.
OpenResult OpenDocument(CDocument &doc, const QString &path);

// Told, on the thread that opens a file, what the file holds while it is being read, before it
// is known to be a script (see OpenDocument for what it takes).
class OpenObserver {
public:
    virtual ~OpenObserver() = default;
    // The header, known once the body begins, before its first row.
    virtual void header(const CHeader &header) = 0;
    // Rows [first, first + count) of steps were read (the row of a file's first step stands at
    // depth 0 once opened, whatever its depth here).
    virtual void rows(const StagedSteps &steps, int first, int count) = 0;
    // What was told so far was of an attempt that failed; the file is read again from its start.
    virtual void restarted() = 0;
};
// OpenDocument telling observer what it reads as it goes. The rows of a large file may be told
// only once the whole file is read (see SetOpenPieces).
OpenResult OpenDocument(CDocument &doc, const QString &path, OpenObserver *observer);

// A large UTF-8 script file (2 MB or more) is parsed in pieces at once, each on a thread of its
// own, when the machine has processors to spare: one piece per processor but one, at most four.
// For tests: the number of pieces (0: that default) and the least size of a file read so (0: 2 MB).
void SetOpenPieces(int pieces, qint64 leastBytes);

// OpenDocument for a recovery file, which holds the script as Save writes it even when Save
// would refuse it: its if and loop blocks do not balance, or a comment step holds "--" (the
// text is then not well-formed). When the file is not well-formed, it is read once more with
// those blocks in flat form and the comments set aside, which gives the rows and depths the
// editor had; it is refused as OpenDocument refuses it when that fails too (cut short, or not
// written by Save).
OpenResult OpenRecoveredDocument(CDocument &doc, const QString &path);

// Inserts one row per recognised child of parent (plus the closing rows of nested if and loop
// elements) as one block before row position (-1 appends), with block depths from depth.
// Comments become comment steps; elements are matched against the catalogue ignoring case;
// anything else is skipped. Returns the number of rows inserted.
int ParseBody(CDocument &doc, const XmlNode &parent, int depth, int position);

// Parses wrappedText (clipboard steps inside one wrapper element such as <zmlclip>) and inserts
// the steps of the wrapper's children before row position (-1 appends) at depth 0. Unlike in a
// file, the commented form of an endif or endloop is the row of a disabled one there. Returns
// the number of rows inserted; 0, without a message, when the text is not well-formed.
int InsertXmlFragment(CDocument &doc, const QString &wrappedText, int position);
