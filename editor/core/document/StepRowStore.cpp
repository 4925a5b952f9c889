#include "core/document/StepRowStore.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {
constexpr int kChunkSize = 512;
}

StepRowStore::StepRowStore(StepRowStore &&other) noexcept
    : m_chunks(std::move(other.m_chunks)), m_starts(std::move(other.m_starts)),
      m_size(std::exchange(other.m_size, 0)), m_lastChunk(other.m_lastChunk.load())
{
    other.m_chunks.clear();
    other.m_starts.clear();
}

StepRowStore &StepRowStore::operator=(StepRowStore &&other) noexcept
{
    if (this != &other) {
        m_chunks = std::move(other.m_chunks);
        m_starts = std::move(other.m_starts);
        m_size = std::exchange(other.m_size, 0);
        m_lastChunk = other.m_lastChunk.load();
        other.clear();
    }
    return *this;
}

void StepRowStore::append(StepRow &&row)
{
    constexpr auto full = static_cast<std::size_t>(kChunkSize);
    if (m_chunks.empty() || m_chunks.back().size() >= full) {
        m_chunks.emplace_back().reserve(full);
        m_starts.push_back(m_size);
    }
    m_chunks.back().push_back(std::move(row));
    ++m_size;
}

void StepRowStore::locate(int row, int &chunk, int &offset) const
{
    // Rows are mostly read in order: the chunk found last, or the next one, usually holds row.
    const auto holds = [this, row](int c) {
        const auto index = static_cast<std::size_t>(c);
        return c >= 0 && index < m_starts.size() && row >= m_starts[index] &&
               row - m_starts[index] < static_cast<int>(m_chunks[index].size());
    };
    const int hint = m_lastChunk.load(std::memory_order_relaxed);
    if (holds(hint)) {
        chunk = hint;
    } else if (holds(hint + 1)) {
        chunk = hint + 1;
    } else {
        // Last chunk whose start is <= row.
        const auto it = std::upper_bound(m_starts.begin(), m_starts.end(), row);
        chunk = static_cast<int>(std::distance(m_starts.begin(), it)) - 1;
    }
    m_lastChunk.store(chunk, std::memory_order_relaxed);
    offset = row - m_starts[static_cast<std::size_t>(chunk)];
}

const StepRow &StepRowStore::at(int row) const
{
    int chunk = 0;
    int offset = 0;
    locate(row, chunk, offset);
    return m_chunks[static_cast<std::size_t>(chunk)][static_cast<std::size_t>(offset)];
}

StepRow &StepRowStore::at(int row)
{
    int chunk = 0;
    int offset = 0;
    locate(row, chunk, offset);
    return m_chunks[static_cast<std::size_t>(chunk)][static_cast<std::size_t>(offset)];
}

void StepRowStore::updateStarts(int fromChunk)
{
    m_starts.resize(m_chunks.size());
    int start = fromChunk > 0
                    ? m_starts[static_cast<std::size_t>(fromChunk - 1)] +
                          static_cast<int>(m_chunks[static_cast<std::size_t>(fromChunk - 1)].size())
                    : 0;
    for (std::size_t c = static_cast<std::size_t>(std::max(fromChunk, 0)); c < m_chunks.size();
         ++c) {
        m_starts[c] = start;
        start += static_cast<int>(m_chunks[c].size());
    }
}

void StepRowStore::splitLargeChunk(int chunk)
{
    auto &rows = m_chunks[static_cast<std::size_t>(chunk)];
    if (rows.size() <= 2 * kChunkSize)
        return;
    std::vector<std::vector<StepRow>> pieces;
    for (std::size_t from = 0; from < rows.size(); from += kChunkSize) {
        const std::size_t to = std::min(rows.size(), from + kChunkSize);
        pieces.emplace_back(
            std::make_move_iterator(rows.begin() + static_cast<std::ptrdiff_t>(from)),
            std::make_move_iterator(rows.begin() + static_cast<std::ptrdiff_t>(to)));
    }
    const auto at = m_chunks.begin() + chunk;
    m_chunks.erase(at);
    m_chunks.insert(m_chunks.begin() + chunk, std::make_move_iterator(pieces.begin()),
                    std::make_move_iterator(pieces.end()));
}

void StepRowStore::insert(int position, std::vector<StepRow> &&rows)
{
    if (rows.empty())
        return;
    const int added = static_cast<int>(rows.size());
    int chunk = 0;
    int offset = 0;
    if (m_chunks.empty()) {
        m_chunks.emplace_back();
    } else if (position >= m_size) {
        chunk = static_cast<int>(m_chunks.size()) - 1;
        offset = static_cast<int>(m_chunks.back().size());
    } else {
        locate(position, chunk, offset);
    }
    auto &target = m_chunks[static_cast<std::size_t>(chunk)];
    target.insert(target.begin() + offset, std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
    m_size += added;
    splitLargeChunk(chunk);
    updateStarts(chunk);
}

void StepRowStore::remove(int first, int count)
{
    if (count <= 0)
        return;
    int chunk = 0;
    int offset = 0;
    locate(first, chunk, offset);
    const int firstChunk = chunk;
    int left = count;
    while (left > 0) {
        auto &rows = m_chunks[static_cast<std::size_t>(chunk)];
        const int take = std::min(left, static_cast<int>(rows.size()) - offset);
        rows.erase(rows.begin() + offset, rows.begin() + offset + take);
        left -= take;
        offset = 0;
        if (rows.empty())
            m_chunks.erase(m_chunks.begin() + chunk);
        else
            ++chunk;
    }
    m_size -= count;
    // Many small chunks after removals: lay the rows out again.
    if (m_chunks.size() > 4 && static_cast<int>(m_chunks.size()) > 2 * (m_size / kChunkSize) + 4)
        rechunk();
    else
        updateStarts(firstChunk);
}

void StepRowStore::rechunk()
{
    std::vector<std::vector<StepRow>> chunks;
    std::vector<StepRow> current;
    current.reserve(kChunkSize);
    for (auto &rows : m_chunks) {
        for (auto &row : rows) {
            current.push_back(std::move(row));
            if (current.size() == kChunkSize) {
                chunks.push_back(std::move(current));
                current = {};
                current.reserve(kChunkSize);
            }
        }
    }
    if (!current.empty())
        chunks.push_back(std::move(current));
    m_chunks = std::move(chunks);
    updateStarts(0);
}

void StepRowStore::clear()
{
    m_chunks.clear();
    m_starts.clear();
    m_size = 0;
}
