#pragma once

#include <QString>

class CDocument;
class XmlNode;

// Opens the script at path into doc (the window has already asked to save changes and chosen
// the path). Clears Dirty first. Reports an unreadable or missing file (signalling
// recentFileRemoved for a missing one), text that is not well-formed XML, a wrong root element,
// version, header or body by a critical message and leaves the document as it was (but
// unchanged). Otherwise replaces the document: header, steps and rows from the file, the file
// name, recentFileAdded, Dirty false; loadingStarted/loadingFinished bracket the row insertion.
// Unknown header elements (each name once, the first few by name and the rest by their number)
// and a missing version are reported by information messages. A device or pipe is refused
// without being read. Text in the system code page (bytes invalid in it read as Windows-1252)
// and UTF-16 text are read as a stream. Returns true when the document was replaced.
bool OpenDocument(CDocument &doc, const QString &path);

// Message shown when path names a device, FIFO or socket, which is never read.
QString SpecialFileOpenMessage(const QString &path);

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
