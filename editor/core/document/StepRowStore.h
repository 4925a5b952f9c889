#pragma once

#include "core/document/StepRow.h"

#include <atomic>
#include <vector>

// Sequence of step rows stored in chunks of a few hundred rows, so that inserting or removing
// rows anywhere costs O(chunk size + number of chunks) instead of O(rows).
class StepRowStore final {
public:
    int size() const { return m_size; }
    const StepRow &at(int row) const;
    StepRow &at(int row);

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
