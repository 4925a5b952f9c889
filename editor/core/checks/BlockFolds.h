#pragma once

#include <QSet>

#include <vector>

class CDocument;

// Folding of if and loop blocks in the step list: which blocks are folded and which rows that
// hides. Only the view changes; the document is never touched. Folds are kept by the opener's
// step id, so they follow their rows through inserts, removals and moves.
//
// A block is an enabled if or loop row and the endif or endloop row that closes it as the
// innermost open block (as the file's elements nest); a folded block hides the rows after its
// opener up to and including its closer.
class BlockFolds final {
public:
    // For each row, the row of the closer of the block it opens; -1 when it opens none.
    // Linear in the number of rows.
    static std::vector<int> Closers(const CDocument &doc);

    // Recomputes the blocks of doc (after any change of its rows).
    void update(const CDocument &doc);

    // True when row opens a block (it can be folded).
    bool isOpener(int row) const;
    // The closer of the block row opens; -1 when none.
    int closerOf(int row) const;
    // True when the block of row is folded.
    bool isFolded(int row) const;
    // Folds or unfolds the block of row; false when row opens none or nothing changed.
    bool setFolded(int row, bool folded);
    // Folds every block; unfolds every block.
    void foldAll();
    void unfoldAll();
    // Unfolds every folded block that hides row; true when any was unfolded.
    bool reveal(int row);

    // True when any block is folded.
    bool hasFolds() const { return !m_folded.isEmpty(); }
    // Rows hidden by folded blocks (index: row), and how many a folded opener hides (0 when it
    // is not folded or hidden itself).
    const std::vector<bool> &hiddenRows() const { return m_hidden; }
    int hiddenCount(int row) const;
    // The folded openers that are not hidden themselves, in row order.
    const std::vector<int> &visibleFoldedOpeners() const { return m_visibleFolded; }

private:
    void computeHidden();

    std::vector<int> m_closers;
    std::vector<int> m_ids; // step id of each row, for the fold set
    QSet<int> m_folded;     // step ids of folded openers
    std::vector<bool> m_hidden;
    std::vector<int> m_visibleFolded;
};
