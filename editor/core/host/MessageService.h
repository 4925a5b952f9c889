#pragma once

#include <QString>

#include <functional>

// Every message box of the program goes through ShowMessage. The program installs a handler
// that shows a real message box; the command line prints to standard error; tests record the
// messages and answer them.

inline constexpr const char *kMessageTitle = "TR AddIn Editor";

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

using MessageHandler =
    std::function<MsgResult(const QString &text, MsgIcon icon, MsgButtons buttons)>;

// Shows text with the title kMessageTitle and returns the button chosen.
MsgResult ShowMessage(const QString &text, MsgIcon icon = MsgIcon::Critical,
                      MsgButtons buttons = MsgButtons::Ok);

// Installs handler (an empty one restores the default) and returns the previous handler.
// Without a handler, messages go to the debug log and the safest answer is returned
// (No for Yes/No, Cancel for the others that offer it).
MessageHandler SetMessageHandler(MessageHandler handler);

// Installs a handler for the lifetime of the object.
class ScopedMessageHandler final {
public:
    explicit ScopedMessageHandler(MessageHandler handler)
        : m_previous(SetMessageHandler(std::move(handler)))
    {}
    ~ScopedMessageHandler() { SetMessageHandler(std::move(m_previous)); }
    ScopedMessageHandler(const ScopedMessageHandler &) = delete;
    ScopedMessageHandler &operator=(const ScopedMessageHandler &) = delete;

private:
    MessageHandler m_previous;
};
