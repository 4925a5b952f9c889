#pragma once

#include "core/zml/XmlEventParser.h"
#include "core/zml/ZmlWriter.h"

#include <vector>

class CDocument;

// The row of doc at fault when its written text fails the block check: the row whose text holds
// the check's place (a stray or crossing end tag, a comment the check refuses, a stray closer);
// when the place is outside every row (an opener left open, found at the body's end), the
// innermost if or loop row left open. -1 when the check passed or no row can be named.
int BlockFaultRow(const CDocument &doc, const BlockCheck &check);

// The place in the file of doc's row (rowPlaces: one place per row, as OpenDocument gives
// them); unknown when the row has none.
TextPlace RowPlace(const std::vector<TextPlace> &rowPlaces, int row);
