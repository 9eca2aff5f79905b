#include "platform/message.h"

#include <mutex>
#include <new>

#include "platform/string_table.h"

namespace zentro {

namespace {

// The thread's handler is built in plain thread-local bytes while one is set,
// and destroyed when it is taken away. mingw-w64 frees a thread's emulated TLS
// before it runs the destructors of thread_local objects, so a thread_local with
// a destructor crashes a Windows worker thread now and then as it ends.
alignas(MessageHandler) thread_local unsigned char tStorage[sizeof(MessageHandler)];
thread_local MessageHandler* tCurrent = nullptr;
std::mutex gDefaultLock;
MessageHandler gDefault;

}  // namespace

MessageHandler SetMessageHandler(MessageHandler handler) {
    MessageHandler previous;
    if (tCurrent != nullptr) {
        previous = std::move(*tCurrent);
        tCurrent->~MessageHandler();
        tCurrent = nullptr;
    }
    if (handler) tCurrent = new (tStorage) MessageHandler(std::move(handler));
    return previous;
}

MessageHandler SetDefaultMessageHandler(MessageHandler handler) {
    std::lock_guard<std::mutex> lock(gDefaultLock);
    MessageHandler previous = std::move(gDefault);
    gDefault = std::move(handler);
    return previous;
}

MessageReply ShowMessage(const Message& message) {
    if (tCurrent != nullptr) return (*tCurrent)(message);
    MessageHandler fallback;
    {
        std::lock_guard<std::mutex> lock(gDefaultLock);
        fallback = gDefault;
    }
    if (fallback) return fallback(message);
    // Nobody listens: a question is answered with the safe choice.
    return message.buttons == MessageButtons::YesNo ? MessageReply::No : MessageReply::Ok;
}

MessageReply ShowMessageText(unsigned id, const std::string& text, MessageIcon icon, MessageButtons buttons) {
    return ShowMessage(Message{id, text, icon, buttons});
}

MessageReply ShowMessageAbout(const std::string& subject, unsigned id, MessageIcon icon,
                              const std::vector<std::string>& args) {
    return ShowMessage(Message{id, FormatString(id, args), icon, MessageButtons::Ok, subject});
}

MessageReply ShowMessage(unsigned id, MessageIcon icon, MessageButtons buttons) {
    return ShowMessageText(id, LoadString(id), icon, buttons);
}

}  // namespace zentro
