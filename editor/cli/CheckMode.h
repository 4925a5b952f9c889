#pragma once

#include "cli/Diagnostics.h"
#include "core/zml/QuickBlockCheck.h"
#include "core/zml/ZmlReader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class CDocument;

// Walks the rows of a script while it is being read (QuickBlockChecker), so that the walk is
// done when the reading is; tells next, when given, everything it is told.
class CheckingObserver final : public OpenObserver {
public:
    explicit CheckingObserver(OpenObserver *next = nullptr) : m_next(next) {}
    void header(const CHeader &header) override;
    void rows(const StagedSteps &steps, int first, int count) override;
    void restarted() override;
    const QuickBlockChecker &checker() const { return m_checker; }

private:
    OpenObserver *m_next;
    QuickBlockChecker m_checker;
};

// The message of a block check that doc (just read as result tells) fails, at the element or
// comment of its file at fault; none when it passes. proven, when given, tells whether walking
// the rows proved the blocks sound; walked, when given, is that walk already done while doc was
// read (used when it saw all of doc's rows).
QList<Notice> BlockCheckNotices(const CDocument &doc, const OpenResult &result,
                                bool *proven = nullptr, const QuickBlockChecker *walked = nullptr);

// Reads script into doc as Open does and runs the save-time block check: the messages, and
// whether it passed.
QByteArray CheckScript(CDocument &doc, const QString &script, DiagnosticFormat format, bool *ok);

// Checks every script (see CheckScript) on threads workers (0: one a core), each with its own
// document and a copy of the catalogue read from cataloguePath, and prints the messages script
// by script in the order given. Returns 0 when every script passed, 1 otherwise. The calling
// thread works with doc, when given (its catalogue already loaded), and leaves the last script
// in it.
int CheckScripts(const QString &cataloguePath, const QStringList &scripts, DiagnosticFormat format,
                 int threads = 0, CDocument *doc = nullptr);
