#pragma once

#include "core/document/CElement.h"
#include "gui/editing/IStepDialogs.h"

#include <QString>

#include <deque>
#include <functional>
#include <utility>
#include <vector>

// The step properties, comment and go-to dialogs for tests: answers from queues, and a record
// of how they were asked.
class FakeDialogs final : public IStepDialogs {
public:
    struct PropertiesCall {
        QString elementName;
        bool useDefaults;
        bool disabled;
    };
    // Answer of the properties dialog: may edit the step, returns whether it was confirmed.
    using PropertiesAnswer = std::function<bool(CElement &)>;

    bool ShowMe(CElement &step, bool useDefaults) override
    {
        propertiesCalls.push_back({step.ElementName, useDefaults, step.Disabled});
        if (properties.empty())
            return true;
        PropertiesAnswer answer = properties.front();
        properties.pop_front();
        return answer(step);
    }
    CommentAnswer AskComment(const QString &text, bool hideCheckBox) override
    {
        commentCalls.push_back({text, hideCheckBox});
        CommentAnswer answer;
        if (!comments.empty()) {
            answer = comments.front();
            comments.pop_front();
        }
        return answer;
    }
    int AskGoto() override
    {
        ++gotoCalls;
        return gotoAnswer;
    }

    std::deque<PropertiesAnswer> properties;
    std::deque<CommentAnswer> comments;
    int gotoAnswer = 0;
    std::vector<PropertiesCall> propertiesCalls;
    std::vector<std::pair<QString, bool>> commentCalls;
    int gotoCalls = 0;
};
