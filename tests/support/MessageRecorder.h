#pragma once

#include "core/host/MessageService.h"

#include <QList>
#include <QString>

#include <deque>

// Records every message shown while it lives and answers them from a queue
// (the first offered button when the queue is empty).
class MessageRecorder final {
public:
    struct Message {
        QString text;
        MsgIcon icon;
        MsgButtons buttons;
    };

    MessageRecorder()
        : m_scope([this](const QString &text, MsgIcon icon, MsgButtons buttons) {
              m_messages.append({text, icon, buttons});
              if (!m_answers.empty()) {
                  const MsgResult answer = m_answers.front();
                  m_answers.pop_front();
                  return answer;
              }
              return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel
                         ? MsgResult::Yes
                         : MsgResult::Ok;
          })
    {}

    void answerNext(MsgResult answer) { m_answers.push_back(answer); }
    const QList<Message> &messages() const { return m_messages; }
    QStringList texts() const
    {
        QStringList result;
        for (const Message &m : m_messages)
            result.append(m.text);
        return result;
    }
    void clear() { m_messages.clear(); }

private:
    QList<Message> m_messages;
    std::deque<MsgResult> m_answers;
    ScopedMessageHandler m_scope;
};
