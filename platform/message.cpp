#include "platform/message.h"

#include <mutex>

#include "platform/string_table.h"

namespace zentro {

namespace {

thread_local MessageHandler tCurrent;
std::mutex gDefaultLock;
MessageHandler gDefault;

}  // namespace

MessageHandler SetMessageHandler(MessageHandler handler) {
    MessageHandler previous = std::move(tCurrent);
    tCurrent = std::move(handler);
    return previous;
}

MessageHandler SetDefaultMessageHandler(MessageHandler handler) {
    std::lock_guard<std::mutex> lock(gDefaultLock);
    MessageHandler previous = std::move(gDefault);
    gDefault = std::move(handler);
    return previous;
}

MessageReply ShowMessageText(unsigned id, const std::string& text, MessageIcon icon, MessageButtons buttons) {
    Message message{id, text, icon, buttons};
    if (tCurrent) return tCurrent(message);
    MessageHandler fallback;
    {
        std::lock_guard<std::mutex> lock(gDefaultLock);
        fallback = gDefault;
    }
    if (fallback) return fallback(message);
    // Nobody listens: a question is answered with the safe choice.
    return buttons == MessageButtons::YesNo ? MessageReply::No : MessageReply::Ok;
}

MessageReply ShowMessage(unsigned id, MessageIcon icon, MessageButtons buttons) {
    return ShowMessageText(id, LoadString(id), icon, buttons);
}

}  // namespace zentro
