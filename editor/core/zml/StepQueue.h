#pragma once

// The hand-over of steps between the thread that parses a script file and the thread that
// build its steps. Internal to the ZML reader.

#include "core/document/CDocument.h"
#include "core/zml/ZmlBodyReader.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

namespace ZmlBody {

// Batches of pending steps on their way from the parsing thread to the building one, and
// built batches on their way back, so that their storage is reused.
class StepQueue final {
public:
    // Queues steps and leaves an empty batch in its place.
    void push(PendingSteps &steps)
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            steps.sequence = m_pushed++;
            m_batches.push_back(std::move(steps));
            if (m_spare.empty()) {
                steps = PendingSteps();
            } else {
                steps = std::move(m_spare.back());
                m_spare.pop_back();
            }
        }
        m_changed.notify_one();
    }
    // Takes a built batch back for reuse.
    void recycle(PendingSteps &steps)
    {
        steps.clear();
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_spare.push_back(std::move(steps));
    }
    // No more batches will come.
    void close()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_closed = true;
        }
        m_changed.notify_all();
    }
    // Waits for the next batch; false when the queue is closed and empty.
    bool pop(PendingSteps &steps)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_closed || !m_batches.empty(); });
        if (m_batches.empty())
            return false;
        steps = std::move(m_batches.front());
        m_batches.pop_front();
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<PendingSteps> m_batches;
    std::vector<PendingSteps> m_spare;
    std::size_t m_pushed = 0;
    bool m_closed = false;
};

} // namespace ZmlBody
