#pragma once

#include <memory>

class CDocument;
class CHeader;
class StepView;

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

// QuickBlockCheck fed one row at a time, in order, for rows met one by one (a file being read).
// The steps' names and definitions must outlive the checker (restart it when they may not).
class QuickBlockChecker final {
public:
    QuickBlockChecker();
    ~QuickBlockChecker();
    QuickBlockChecker(const QuickBlockChecker &) = delete;
    QuickBlockChecker &operator=(const QuickBlockChecker &) = delete;

    // The next row's step (a null view for a row without one).
    void row(const StepView &step);
    // False once a row was not proven safe.
    bool proven() const { return m_proven; }
    // Rows fed so far.
    int rows() const { return m_rows; }
    // QuickBlockCheck's answer for the rows fed so far under header.
    QuickCheck result(const CHeader &header) const;
    // Forgets the rows fed so far.
    void restart();

private:
    class Checker;
    std::unique_ptr<Checker> m_checker;
    bool m_proven = true;
    int m_rows = 0;
};
