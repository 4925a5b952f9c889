#pragma once

#include "core/document/StepRow.h"

#include <atomic>
#include <vector>

// Sequence of step rows stored in chunks of a few hundred rows, so that inserting or removing
// rows anywhere costs O(chunk size + number of chunks) instead of O(rows).
class StepRowStore final {
public:
    StepRowStore() = default;
    StepRowStore(StepRowStore &&other) noexcept;
    StepRowStore &operator=(StepRowStore &&other) noexcept;
    StepRowStore(const StepRowStore &) = delete;
    StepRowStore &operator=(const StepRowStore &) = delete;
    ~StepRowStore() = default;

    int size() const { return m_size; }
    const StepRow &at(int row) const;
    StepRow &at(int row);
    // The last row (size() > 0).
    const StepRow &back() const { return m_chunks.back().back(); }

    // Adds row after the last one.
    void append(StepRow &&row);
    // Takes the rows of other over after the last one, each passed to fn(StepRow &) first,
    // without moving a row; other is left empty.
    template <typename Fn> void append(StepRowStore &&other, Fn fn)
    {
        for (std::vector<StepRow> &chunk : other.m_chunks) {
            for (StepRow &row : chunk)
                fn(row);
            m_starts.push_back(m_size);
            m_size += static_cast<int>(chunk.size());
            m_chunks.push_back(std::move(chunk));
        }
        other.clear();
    }

    // Inserts rows before index position (0 <= position <= size()).
    void insert(int position, std::vector<StepRow> &&rows);
    // Removes count rows starting at first.
    void remove(int first, int count);
    void clear();
    // Calls fn(index, row) for every row in order, without looking any row up.
    template <typename Fn> void forEach(Fn fn) const
    {
        int index = 0;
        for (const std::vector<StepRow> &chunk : m_chunks) {
            for (const StepRow &row : chunk)
                fn(index++, row);
        }
    }
    // Calls fn(row) for every row in order, to change it in place.
    template <typename Fn> void update(Fn fn)
    {
        for (std::vector<StepRow> &chunk : m_chunks) {
            for (StepRow &row : chunk)
                fn(row);
        }
    }

private:
    void locate(int row, int &chunk, int &offset) const;
    void splitLargeChunk(int chunk);
    void updateStarts(int fromChunk);
    void rechunk();

    std::vector<std::vector<StepRow>> m_chunks; // never holds an empty chunk
    std::vector<int> m_starts;                  // index of the first row of each chunk
    int m_size = 0;
    mutable std::atomic<int> m_lastChunk{0}; // where locate looks first
};
