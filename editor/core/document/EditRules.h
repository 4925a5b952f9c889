#pragma once

#include <QString>

// Where the editing commands put new steps, and how a typed line number is read. Row indexes
// are 0-based; -1 stands for "no row" (as a selection) or "the end" (as a position).
namespace EditRules {

// Position of a step inserted from the action tree: after the first selected row, else the end.
int InsertPosition(int firstSelected);
// Position of a step dropped on the list: the row under the drop point, else the end.
int DropPosition(int rowUnderPoint);
// Position of a new comment: the end when insertLast is set or nothing is selected, else after
// the first selected row (before it with insertBefore).
int CommentPosition(int firstSelected, bool insertLast, bool insertBefore = false);
// Position of pasted steps: before the first selected row, else the end.
int PastePosition(int firstSelected);
// Element name of the closing step that an inserted opener gets ("endif" for "if", "endloop"
// for "loop"); "" for every other name. Names compare exactly.
QString ClosingElement(const QString &elementName);

// Reads a go-to entry: a number (an optional sign, digits, a decimal point and an exponent;
// blanks around it ignored) rounded to the nearest whole number, halves away from zero. True
// with the line in *line when the result is at least 1 and fits a 32-bit signed number.
bool ParseLineNumber(const QString &entry, int *line);

} // namespace EditRules
