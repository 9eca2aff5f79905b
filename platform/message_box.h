#pragma once
// The GUI's display of the core's messages: the platform's message box,
// captioned with the application title, the warning icon for missing or
// unusable input, the error icon for file and memory failures, OK or Yes/No.
// Each toolkit half of the platform layer implements it.
#include "platform/message.h"

namespace zentro {

MessageReply ShowMessageBox(const Message& message);

// Makes message boxes the display of every thread's messages; call it on the
// GUI thread. A message from another thread is shown by the GUI thread while
// the caller waits.
void InstallMessageBoxes();

}  // namespace zentro
