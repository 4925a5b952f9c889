#include "core/recovery/DocumentSnapshot.h"

#include "core/zml/AnsiCodec.h"
#include "core/zml/ZmlWriter.h"

#include <QElapsedTimer>

DocumentSnapshot::DocumentSnapshot(const CDocument &doc, bool copyAll)
    : m_source(&doc), m_fileName(doc.FileName()), m_copy(std::make_unique<CDocument>())
{
    m_copy->Header() = doc.Header();
    // Used on the writing thread from now on; it has no connections and gets no events.
    m_copy->moveToThread(nullptr);
    if (copyAll)
        copyRows(-1);
}

bool DocumentSnapshot::copyRows(int budgetMs)
{
    constexpr int kRowsBetweenClockReadings = 512;
    QElapsedTimer clock;
    clock.start();
    const CDocument &doc = *m_source;
    const int count = doc.RowCount();
    const int first = m_copied;
    for (int row = first; row < count; ++row, ++m_copied) {
        // Every slice copies at least one batch of rows, so that a copy always ends.
        if (budgetMs >= 0 && row > first && (row - first) % kRowsBetweenClockReadings == 0 &&
            clock.elapsed() >= budgetMs)
            return false;
        doc.CopyStep(row, m_steps);
    }
    return true;
}

bool DocumentSnapshot::complete() const
{
    return m_copied >= m_source->RowCount();
}

DocumentSnapshot::~DocumentSnapshot() = default;

QByteArray DocumentSnapshot::text()
{
    m_copy->InsertSteps(std::move(m_steps), -1);
    m_steps = StepBatch();
    return SavedText(*m_copy);
}

QByteArray SavedText(const CDocument &doc)
{
    if (AnsiCodec::systemIsUtf8())
        return BuildDocumentUtf8(doc).append("\r\n");
    return AnsiCodec::encode(BuildDocumentText(doc) + QStringLiteral("\r\n"));
}
