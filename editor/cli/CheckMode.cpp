#include "cli/CheckMode.h"

#include "core/document/CDocument.h"
#include "core/zml/BlockFault.h"
#include "core/zml/QuickBlockCheck.h"
#include "core/zml/ZmlReader.h"
#include "core/zml/ZmlWriter.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

void CheckingObserver::header(const CHeader &header)
{
    if (m_next)
        m_next->header(header);
}

void CheckingObserver::rows(const StagedSteps &steps, int first, int count)
{
    for (int row = first; row < first + count; ++row)
        m_checker.row(steps.View(row));
    if (m_next)
        m_next->rows(steps, first, count);
}

void CheckingObserver::restarted()
{
    m_checker.restart();
    if (m_next)
        m_next->restarted();
}

QList<Notice> BlockCheckNotices(const CDocument &doc, const OpenResult &result, bool *proven,
                                const QuickBlockChecker *walked)
{
    // The rows prove most scripts sound without building their text.
    const bool sound = walked && walked->rows() == doc.RowCount()
                           ? walked->result(doc.Header()) == QuickCheck::Ok
                           : QuickBlockCheck(doc) == QuickCheck::Ok;
    if (proven)
        *proven = sound;
    if (sound)
        return {};
    const BlockCheck check = CheckBlocksAt(BuildDocumentUtf8(doc));
    if (check.Result == BlockCheckResult::Ok)
        return {};
    const TextPlace place = RowPlace(result.rowPlaces, BlockFaultRow(doc, check));
    return {{BlockCheckMessage(doc, check.Result), MsgIcon::Critical, place}};
}

QByteArray CheckScript(CDocument &doc, const QString &script, DiagnosticFormat format, bool *ok)
{
    CheckingObserver walk;
    const OpenResult result = OpenDocument(doc, script, &walk);
    QList<Notice> notices = OpenNotices(result);
    if (result.ok())
        notices += BlockCheckNotices(doc, result, nullptr, &walk.checker());
    *ok = std::none_of(notices.cbegin(), notices.cend(),
                       [](const Notice &n) { return n.Icon == MsgIcon::Critical; });
    return FormatDiagnostics(format, script, notices);
}

int CheckScripts(const QString &cataloguePath, const QStringList &scripts, DiagnosticFormat format,
                 int threads, CDocument *doc)
{
    struct Outcome {
        QByteArray messages;
        bool ok = false;
    };
    std::vector<Outcome> outcomes(std::size_t(scripts.size()));
    std::atomic<qsizetype> next{0};
    // Each worker has its own document and catalogue: nothing it changes is shared.
    const auto work = [&](CDocument *given) {
        std::unique_ptr<CDocument> own;
        if (!given) {
            own = std::make_unique<CDocument>();
            own->Catalogue().LoadFile(cataloguePath);
        }
        CDocument &worker = given ? *given : *own;
        for (qsizetype i = next++; i < scripts.size(); i = next++) {
            Outcome &outcome = outcomes[std::size_t(i)];
            outcome.messages = CheckScript(worker, scripts.at(i), format, &outcome.ok);
        }
    };
    if (threads <= 0)
        threads = int(std::max(1u, std::thread::hardware_concurrency()));
    threads = int(std::min<qsizetype>(threads, scripts.size()));
    std::vector<std::thread> workers;
    for (int i = 1; i < threads; ++i)
        workers.emplace_back(work, nullptr);
    work(doc);
    for (std::thread &worker : workers)
        worker.join();

    int status = 0;
    for (const Outcome &outcome : outcomes) {
        PrintDiagnostics(outcome.messages);
        if (!outcome.ok)
            status = 1;
    }
    return status;
}
