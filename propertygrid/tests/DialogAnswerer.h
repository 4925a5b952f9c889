#pragma once

#include <fieldpane/CCommonDialogs.h>

#include <utility>
#include <vector>

// Answers every dialog of the library with `answer` while it lives and records the requests.
class DialogAnswerer {
public:
    explicit DialogAnswerer(Fieldpane::CCommonDialogs::Answer answer) : m_answer(std::move(answer))
    {
        Fieldpane::CCommonDialogs::SetDialogHook(
            [this](const Fieldpane::CCommonDialogs::Request &request) {
                requests.push_back(request);
                return m_answer;
            });
    }
    ~DialogAnswerer() { Fieldpane::CCommonDialogs::SetDialogHook({}); }
    DialogAnswerer(const DialogAnswerer &) = delete;
    DialogAnswerer &operator=(const DialogAnswerer &) = delete;

    std::vector<Fieldpane::CCommonDialogs::Request> requests;

private:
    Fieldpane::CCommonDialogs::Answer m_answer;
};
