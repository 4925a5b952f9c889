#include "core/zml/StepQueue.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace ZmlBody {

void buildFromQueue(StepQueue &queue, std::vector<BuiltSteps> &built)
{
    PendingSteps pending;
    while (queue.pop(pending)) {
        built.push_back({pending.sequence, pending.restart, {}});
        buildSteps(pending, built.back().steps);
        queue.recycle(pending);
    }
}

StepBatch joinBuilt(std::vector<BuiltSteps> built, std::vector<BuiltSteps> &&more)
{
    built.insert(built.end(), std::make_move_iterator(more.begin()),
                 std::make_move_iterator(more.end()));
    std::sort(built.begin(), built.end(),
              [](const BuiltSteps &a, const BuiltSteps &b) { return a.sequence < b.sequence; });
    std::size_t first = 0;
    for (std::size_t i = 0; i < built.size(); ++i) {
        if (built[i].restart)
            first = i;
    }
    StepBatch steps;
    for (std::size_t i = first; i < built.size(); ++i)
        steps.append(std::move(built[i].steps));
    return steps;
}

} // namespace ZmlBody
