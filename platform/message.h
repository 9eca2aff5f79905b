#pragma once
// Modal message display. The core says what to tell the user; whoever runs
// the core (wizard, command line, tests) installs the handler that shows it.
#include <functional>
#include <string>
#include <vector>

namespace zentro {

enum class MessageIcon { Exclamation, Error };
enum class MessageButtons { Ok, YesNo };
enum class MessageReply { Ok, Yes, No };

struct Message {
    unsigned id;  // string-table id the text came from
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
    // The file the message is about when that is not the one being worked on (the
    // icon being written, the 16 x 16 picture); "" otherwise. A message box has no
    // room for it; the command line names it in front of the text.
    std::string subject = {};
};

using MessageHandler = std::function<MessageReply(const Message&)>;

// Installs a handler for the calling thread and returns the one it replaces.
// Threads that never install one fall back to the process-wide default.
MessageHandler SetMessageHandler(MessageHandler handler);
// The handler used by threads that installed none (the command line's workers).
MessageHandler SetDefaultMessageHandler(MessageHandler handler);

// Shows string-table message `id`.
MessageReply ShowMessage(unsigned id, MessageIcon icon, MessageButtons buttons = MessageButtons::Ok);
// Shows an already formatted text that belongs to message `id`.
MessageReply ShowMessageText(unsigned id, const std::string& text, MessageIcon icon,
                             MessageButtons buttons = MessageButtons::Ok);
// Shows message `id` with the facts it names (FormatString), about file `subject`.
MessageReply ShowMessageAbout(const std::string& subject, unsigned id, MessageIcon icon,
                              const std::vector<std::string>& args = {});
// Shows a message as it is.
MessageReply ShowMessage(const Message& message);

// Restores the previous handler when it goes out of scope.
class ScopedMessageHandler {
public:
    explicit ScopedMessageHandler(MessageHandler handler) : previous_(SetMessageHandler(std::move(handler))) {}
    ~ScopedMessageHandler() { SetMessageHandler(std::move(previous_)); }
    ScopedMessageHandler(const ScopedMessageHandler&) = delete;
    ScopedMessageHandler& operator=(const ScopedMessageHandler&) = delete;

private:
    MessageHandler previous_;
};

}  // namespace zentro
