#include "core/recovery/DocumentSnapshot.h"

#include "core/zml/AnsiCodec.h"
#include "core/zml/ZmlWriter.h"

DocumentSnapshot::DocumentSnapshot(const CDocument &doc)
    : m_fileName(doc.FileName()), m_copy(std::make_unique<CDocument>())
{
    m_copy->Header() = doc.Header();
    // Used on the writing thread from now on; it has no connections and gets no events.
    m_copy->moveToThread(nullptr);
    const int count = doc.RowCount();
    m_steps.reserve(std::size_t(count));
    const StepRowsModel &rows = *doc.Rows();
    for (int row = 0; row < count; ++row) {
        CDocument::NewStep step;
        if (const auto source = doc.Step(row))
            step.owned = CElements::Copy(*source);
        step.depth = rows.depth(row);
        m_steps.push_back(std::move(step));
    }
}

DocumentSnapshot::~DocumentSnapshot() = default;

QByteArray DocumentSnapshot::text()
{
    m_copy->InsertSteps(m_steps, -1);
    m_steps.clear();
    return SavedText(*m_copy);
}

QByteArray SavedText(const CDocument &doc)
{
    if (AnsiCodec::systemIsUtf8())
        return BuildDocumentUtf8(doc).append("\r\n");
    return AnsiCodec::encode(BuildDocumentText(doc) + QStringLiteral("\r\n"));
}
