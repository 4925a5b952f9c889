#pragma once

class CDocument;

// What the quick block check proves about the text the writer would produce for a document.
enum class QuickCheck {
    Ok,            // the text is certainly well-formed and holds no "<endif"/"<endloop"
    NeedsTextCheck // not proven: only the check of the text (CheckBlocksUtf8) decides
};

// Walks the rows once, building no text, and answers Ok only when the document's text is
// certain to pass CheckBlocksUtf8: every enabled if/loop row is closed by the endif/endloop row
// of its kind and every closer row closes one; element and attribute names are names the
// parser reads back; no comment holds "--" or a stray closer; every character is one XML
// allows. Anything else (rows without a step among them) needs the text check.
QuickCheck QuickBlockCheck(const CDocument &doc);
