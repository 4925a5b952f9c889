#pragma once

// Where a script's text can be cut so that its pieces are parsed on several threads at once.
// Internal to the ZML reader.

#include "core/zml/XmlEventParser.h"

#include <QByteArray>

#include <string>
#include <string_view>
#include <vector>

namespace ZmlPieces {

// A text cut into pieces. The first piece is parsed as the start of the text; every other piece
// is parsed after prefix, which opens the root and the body as the text does, so that the piece
// reads as the rest of the body.
struct Plan {
    std::string prefix;  // the root's and the body's start tags as written, then a line break
    int prefixLines = 0; // line breaks in prefix
    std::vector<qint64> starts; // of the pieces after the first, in order

    bool split() const { return !starts.empty(); }
};

// Line breaks in [text, text + size) as XML counts them: CR LF, CR or LF.
qint64 lineBreaks(const char *text, qint64 size);

// Cuts text into at most pieces pieces of about equal size, each after the first beginning at
// the start of a line that begins an element indented as the body's first element (a row at
// the body's own level, in the files the editor writes). No cut is made (starts is empty) when
// the text declares a document type, when its body does not begin near its start, or when there
// is no such line near a place to cut. Only the parse tells whether a cut really falls between
// two rows of the body (see XmlEventParser::partEndsBetweenNodes): it may fall inside a block, a
// comment or a CDATA section.
Plan plan(const QByteArray &text, int pieces);

// A parser's source that gives first and then second (both must outlive it).
XmlEventParser::Source source(std::string_view first, std::string_view second = {});

} // namespace ZmlPieces
