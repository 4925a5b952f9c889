#include "core/host/MessageService.h"

#include <QDebug>

namespace {

MessageHandler &currentHandler()
{
    static MessageHandler handler;
    return handler;
}

MsgResult safestAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgResult::Ok;
    case MsgButtons::YesNo:
        return MsgResult::No;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel:
        return MsgResult::Cancel;
    }
    return MsgResult::Cancel;
}

} // namespace

MsgResult ShowMessage(const QString &text, MsgIcon icon, MsgButtons buttons)
{
    if (const MessageHandler &handler = currentHandler())
        return handler(text, icon, buttons);
    qWarning().noquote() << kMessageTitle << ":" << text;
    Q_UNUSED(icon);
    return safestAnswer(buttons);
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    MessageHandler previous = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return previous;
}
