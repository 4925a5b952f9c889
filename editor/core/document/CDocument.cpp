#include "core/document/CDocument.h"

#include "core/document/BlockRules.h"
#include "core/document/StepText.h"

#include <algorithm>
#include <charconv>
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
        const CElement *step =
            id >= 0 && std::size_t(id) < m_byId.size() ? m_byId[std::size_t(id)].get() : nullptr;
        return step ? BuildStepText(*step) : QString();
    });
    m_rows->setStepProvider([this](int id) -> const CElement * {
        return id >= 0 && std::size_t(id) < m_byId.size() ? m_byId[std::size_t(id)].get() : nullptr;
    });
}

CDocument::~CDocument() = default;

QString CDocument::StepKey(int id)
{
    char key[16] = {'K'};
    const auto end = std::to_chars(key + 1, key + sizeof key, id).ptr;
    return QString::fromLatin1(key, end - key);
}

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
    const int id = m_rows->stepId(row);
    return id >= 0 && std::size_t(id) < m_byId.size() ? m_byId[std::size_t(id)] : nullptr;
}

int CDocument::depthForNewRow(int row, const QString &previousName, int previousDepth,
                              const QString &newName) const
{
    return BlockRules::NewRowDepth(row, previousDepth, previousName, newName);
}

int CDocument::InsertStep(const CElement &step, int position)
{
    auto shared = std::shared_ptr<const CElement>(std::shared_ptr<const CElement>(), &step);
    const int row = InsertSteps({NewStep{shared, -1}}, position);
    emit stepInserted(row);
    return row;
}

int CDocument::InsertSteps(const std::vector<NewStep> &steps, int position)
{
    const int count = m_rows->count();
    if (position < 0 || position > count)
        position = count;
    if (steps.empty())
        return position;

    QString previousName;
    int previousDepth = 0;
    if (position > 0) {
        if (const auto previous = Step(position - 1))
            previousName = previous->ElementName;
        previousDepth = m_rows->depth(position - 1);
    }

    std::vector<StepRow> rows;
    rows.reserve(steps.size());
    int row = position;
    for (const NewStep &entry : steps) {
        if (!entry.step && !entry.owned)
            continue;
        const int id = takeStepId();
        // The id is free, so its key is not in the collection.
        const std::shared_ptr<CElement> copy =
            entry.owned ? entry.owned : CElements::Copy(*entry.step);
        m_steps.AdoptNew(copy, StepKey(id));
        if (std::size_t(id) >= m_byId.size())
            m_byId.resize(std::max(std::size_t(id) + 1, m_byId.size() * 2));
        m_byId[std::size_t(id)] = copy;
        StepRow r;
        r.id = id;
        r.depth = entry.depth >= 0
                      ? entry.depth
                      : depthForNewRow(row, previousName, previousDepth, copy->ElementName);
        previousName = copy->ElementName;
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

int CDocument::RemoveSteps(const std::vector<int> &rows)
{
    const std::vector<int> valid = validRows(rows, m_rows->count());
    if (valid.empty())
        return 0;
    for (int r : valid) {
        const int id = m_rows->stepId(r);
        m_steps.Remove(StepKey(id));
        if (std::size_t(id) < m_byId.size())
            m_byId[std::size_t(id)].reset();
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
    if (Step(row))
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
    m_steps.Clear();
    m_byId.clear();
    m_freeIds.clear();
    m_highestId = 0;
    m_header.Reset();
    SetFileName(QString());
    SetDirty(false);
}
