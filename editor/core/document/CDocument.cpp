#include "core/document/CDocument.h"

#include "core/document/BlockRules.h"
#include "core/document/StepText.h"

#include <algorithm>
#include <iterator>

namespace {

// In-range rows of rows, sorted, each once.
std::vector<int> validRows(const std::vector<int> &rows, int count)
{
    std::vector<int> valid;
    valid.reserve(rows.size());
    for (int r : rows) {
        if (r >= 0 && r < count)
            valid.push_back(r);
    }
    std::sort(valid.begin(), valid.end());
    valid.erase(std::unique(valid.begin(), valid.end()), valid.end());
    return valid;
}

} // namespace

CDocument::CDocument(QObject *parent) : QObject(parent), m_rows(new StepRowsModel(this))
{
    // Row text is built from the step when a view or a copy asks for it, never stored: only the
    // rows on screen are ever painted.
    m_rows->setRowTextProvider([this](int id) {
        const StepView step = m_store.View(id);
        return step ? BuildStepText(step) : QString();
    });
    m_rows->setStepProvider([this](int id) { return m_store.View(id); });
}

CDocument::~CDocument() = default;

void CDocument::SetFileName(const QString &fileName)
{
    if (m_fileName == fileName)
        return;
    m_fileName = fileName;
    emit fileNameChanged(m_fileName);
}

void CDocument::SetDirty(bool dirty)
{
    if (m_dirty != dirty) {
        m_dirty = dirty;
        emit dirtyChanged(m_dirty);
    }
    if (dirty)
        emit documentChanged();
}

int CDocument::NewStepId() const
{
    return m_freeIds.empty() ? m_highestId + 1 : *m_freeIds.begin();
}

int CDocument::takeStepId()
{
    if (!m_freeIds.empty()) {
        const int id = *m_freeIds.begin();
        m_freeIds.erase(m_freeIds.begin());
        return id;
    }
    return ++m_highestId;
}

void CDocument::releaseStepId(int id)
{
    if (id < 1 || id > m_highestId)
        return;
    m_freeIds.insert(id);
    // Keep the free set below the highest id in use.
    while (m_highestId > 0 && !m_freeIds.empty() && *m_freeIds.rbegin() == m_highestId) {
        m_freeIds.erase(std::prev(m_freeIds.end()));
        --m_highestId;
    }
}

std::shared_ptr<CElement> CDocument::Step(int row) const
{
    if (row < 0 || row >= m_rows->count())
        return {};
    return m_store.Detach(m_rows->stepId(row));
}

StepView CDocument::View(int row) const
{
    if (row < 0 || row >= m_rows->count())
        return {};
    return m_store.View(m_rows->stepId(row));
}

const QString &CDocument::ElementName(int row) const
{
    static const QString none;
    if (row < 0 || row >= m_rows->count())
        return none;
    return m_store.ElementName(m_rows->stepId(row));
}

void CDocument::CopyStep(int row, StepBatch &batch) const
{
    if (row >= 0 && row < m_rows->count())
        m_store.CopyTo(m_rows->stepId(row), batch, m_rows->depth(row));
}

void CDocument::SetStepDisabled(int row, bool disabled)
{
    if (row >= 0 && row < m_rows->count())
        m_store.SetDisabled(m_rows->stepId(row), disabled);
}

QStringList CDocument::VariableNames(bool ranges) const
{
    const QString wanted = ranges ? QStringLiteral("range") : QStringLiteral("var");
    const QString nameKey = QStringLiteral("name");
    QStringList names;
    for (int row = 0, count = m_rows->count(); row < count; ++row) {
        if (ElementName(row) != wanted)
            continue;
        const StepView step = View(row);
        const QString &name = step.ValueAt(step.IndexOf(nameKey));
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

int CDocument::InsertStep(const CElement &step, int position)
{
    auto shared = std::shared_ptr<const CElement>(std::shared_ptr<const CElement>(), &step);
    const int row = InsertSteps({NewStep{shared, -1}}, position);
    emit stepInserted(row);
    return row;
}

template <typename Present, typename Store>
int CDocument::insertRows(std::size_t count, int position, Present present, Store store)
{
    const int rowCount = m_rows->count();
    if (position < 0 || position > rowCount)
        position = rowCount;
    if (count == 0)
        return position;

    const QString *previousName = &ElementName(position - 1);
    int previousDepth = position > 0 ? m_rows->depth(position - 1) : 0;
    std::vector<StepRow> rows;
    rows.reserve(count);
    int row = position;
    for (std::size_t i = 0; i < count; ++i) {
        if (!present(i))
            continue;
        const int id = takeStepId();
        const int depth = store(i, id);
        const QString &name = m_store.ElementName(id);
        StepRow r;
        r.id = id;
        r.depth =
            depth >= 0 ? depth : BlockRules::NewRowDepth(row, previousDepth, *previousName, name);
        previousName = &name;
        previousDepth = r.depth;
        rows.push_back(std::move(r));
        ++row;
    }
    if (rows.empty())
        return position;
    const int inserted = static_cast<int>(rows.size());
    m_rows->insertStepRows(position, std::move(rows));
    SetDirty(true);
    emit documentChanged();
    emit stepsInserted(position, inserted);
    return position;
}

int CDocument::InsertSteps(const std::vector<NewStep> &steps, int position)
{
    return insertRows(
        steps.size(), position, [&steps](std::size_t i) { return steps[i].step || steps[i].owned; },
        [this, &steps](std::size_t i, int id) {
            const NewStep &entry = steps[i];
            if (entry.owned)
                m_store.StoreOwned(id, entry.owned);
            else
                m_store.StoreCopy(id, *entry.step);
            return entry.depth;
        });
}

void StagedSteps::add(StepBatch &&batch)
{
    const std::vector<std::uint32_t> actions = m_store.MapActions(batch);
    const bool first = m_rows.size() == 0;
    const QString *previousName = first ? nullptr : &m_store.ElementName(m_rows.back().id);
    int previousDepth = first ? 0 : m_rows.back().depth;
    static const QString none;
    for (std::size_t i = 0, count = batch.size(); i < count; ++i) {
        const int id = m_rows.size() + 1;
        m_store.StoreFromBatch(id, batch, actions, i);
        const QString &name = m_store.ElementName(id);
        StepRow r;
        r.id = id;
        r.depth = batch.entries()[i].depth;
        if (r.depth < 0)
            r.depth = BlockRules::NewRowDepth(m_rows.size(), previousDepth,
                                              previousName ? *previousName : none, name);
        previousName = &name;
        previousDepth = r.depth;
        m_rows.append(std::move(r));
    }
    batch.clear();
}

void StagedSteps::append(StagedSteps &&other, int depthMove)
{
    const int move = count();
    m_store.Append(std::move(other.m_store), move);
    m_rows.append(std::move(other.m_rows), [move, depthMove](StepRow &row) {
        row.id += move;
        row.depth += depthMove;
    });
    other.clear();
}

void StagedSteps::clear()
{
    m_store.Clear();
    m_rows.clear();
}

void CDocument::AdoptSteps(StagedSteps &&staged)
{
    if (m_rows->count() > 0 || staged.m_rows.size() == 0)
        return;
    const int count = staged.m_rows.size();
    m_store = std::move(staged.m_store);
    m_freeIds.clear();
    m_highestId = count;
    m_rows->adoptRows(std::move(staged.m_rows));
    staged.clear();
    SetDirty(true);
    emit documentChanged();
    emit stepsInserted(0, count);
}

int CDocument::InsertSteps(StepBatch &&batch, int position)
{
    const std::vector<std::uint32_t> actions = m_store.MapActions(batch);
    const int first = insertRows(
        batch.size(), position, [](std::size_t) { return true; },
        [this, &batch, &actions](std::size_t i, int id) {
            m_store.StoreFromBatch(id, batch, actions, i);
            return batch.entries()[i].depth;
        });
    batch.clear();
    return first;
}

int CDocument::RemoveSteps(const std::vector<int> &rows)
{
    const std::vector<int> valid = validRows(rows, m_rows->count());
    if (valid.empty())
        return 0;
    for (int r : valid) {
        const int id = m_rows->stepId(r);
        m_store.Remove(id);
        releaseStepId(id);
    }
    m_rows->removeStepRows(valid);
    SetDirty(true);
    emit documentChanged();
    return static_cast<int>(valid.size());
}

bool CDocument::MoveSteps(const std::vector<int> &rows, bool up)
{
    if (!m_rows->moveStepRows(rows, up))
        return false;
    SetDirty(true);
    emit documentChanged();
    return true;
}

void CDocument::RefreshRow(int row)
{
    // A null text: the row shows its step's text again, even if one was set on the model.
    if (row >= 0 && row < m_rows->count() && m_store.Contains(m_rows->stepId(row)))
        m_rows->setRowText(row, QString());
    emit documentChanged();
}

void CDocument::SetDepth(int row, int depth)
{
    m_rows->setDepth(row, depth);
    emit documentChanged();
}

void CDocument::Indent(const std::vector<int> &rows)
{
    for (int r : validRows(rows, m_rows->count()))
        m_rows->setDepth(r, BlockRules::Indent(m_rows->depth(r)));
    emit documentChanged();
}

void CDocument::Outdent(const std::vector<int> &rows)
{
    for (int r : validRows(rows, m_rows->count()))
        m_rows->setDepth(r, BlockRules::Outdent(m_rows->depth(r)));
    emit documentChanged();
}

void CDocument::Clear()
{
    m_rows->clear();
    m_store.Clear();
    m_freeIds.clear();
    m_highestId = 0;
    m_header.Reset();
    SetFileName(QString());
    SetDirty(false);
}
