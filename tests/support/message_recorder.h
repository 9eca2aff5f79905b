#pragma once
// Collects every message the code under test shows, instead of showing it.
#include <vector>

#include "platform/message.h"

namespace zentro::test {

class MessageRecorder {
public:
    // `reply` answers Yes/No questions.
    explicit MessageRecorder(MessageReply reply = MessageReply::Yes)
        : scope_([this, reply](const Message& m) {
              messages.push_back(m);
              return m.buttons == MessageButtons::YesNo ? reply : MessageReply::Ok;
          }) {}

    std::vector<Message> messages;

    // The one message shown, or id 0 when there were none or several.
    unsigned OnlyId() const { return messages.size() == 1 ? messages[0].id : 0; }

private:
    ScopedMessageHandler scope_;
};

}  // namespace zentro::test
