#pragma once
// The core's messages as the system's message boxes: captioned with the
// application title, the warning icon for missing or unusable input, the
// error icon for file and memory failures, OK or Yes/No.
#include "platform/message.h"

namespace zentro {

MessageReply ShowMessageBox(const Message& message);
// Makes message boxes the display of every thread's messages; call it on the
// window thread. A message from another thread is shown by the window thread
// while the caller waits.
void InstallMessageBoxes();

}  // namespace zentro
