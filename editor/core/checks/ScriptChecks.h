#pragma once

#include <QString>

#include <vector>

class CDocument;

// Checks of the open script that run while it is edited, beside the save-time block check
// (which they do not replace): unbalanced or crossed blocks, an else outside an if, empty
// required values and steps whose action the catalogue lacks. Disabled and comment steps are
// written as comments, so they take part only as the writer makes them: a disabled endif or
// endloop still closes a block, a disabled if, loop or else opens nothing.
namespace ScriptChecks {

enum class ProblemKind {
    CloserWithoutOpener, // endif or endloop with no open block
    OpenerWithoutCloser, // if or loop never closed
    CrossedBlocks,       // endif closing a loop's place (or endloop an if's)
    ElseOutsideIf,       // else not directly inside an if
    EmptyRequiredValue,  // a required attribute or text left empty
    UnknownAction,       // the step's action is not in the catalogue
};

struct Problem {
    int row = -1; // 0-based row of the step
    ProblemKind kind = ProblemKind::CloserWithoutOpener;
    QString text; // one line for the user

    bool operator==(const Problem &o) const
    {
        return row == o.row && kind == o.kind && text == o.text;
    }
};

// True for the kinds that make the save-time block check refuse a save.
bool IsBlockProblem(ProblemKind kind);

// Every problem of doc, ordered by row (a row may have several). Linear in the number of rows
// and attributes.
std::vector<Problem> CheckDocument(const CDocument &doc);

// The row of the first problem that refuses a save (IsBlockProblem); -1 when there is none.
int FirstBlockProblemRow(const std::vector<Problem> &problems);

} // namespace ScriptChecks
