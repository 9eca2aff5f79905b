#include "platform/message_box.h"

#include "platform/string_table.h"
#include "platform/wide_text.h"
#include "platform/win32/gui_thread.h"
#include "platform/win32/windows_api.h"

namespace zentro {

namespace {

MessageReply ShowOnGuiThread(const Message& message) {
    MessageReply reply = MessageReply::No;
    CallOnGuiThread([&] { reply = ShowMessageBox(message); });
    return reply;
}

}  // namespace

MessageReply ShowMessageBox(const Message& message) {
    const bool question = message.buttons == MessageButtons::YesNo;
    const UINT type =
        (message.icon == MessageIcon::Error ? MB_ICONERROR : MB_ICONWARNING) | (question ? MB_YESNO : MB_OK);
    const int pressed = ::MessageBoxW(::GetActiveWindow(), WideFromUtf8(message.text, BadUtf8::Replace).c_str(),
                                      WideFromUtf8(LoadString(IDS_APP_TITLE), BadUtf8::Replace).c_str(), type);
    if (!question) return MessageReply::Ok;
    return pressed == IDYES ? MessageReply::Yes : MessageReply::No;
}

void InstallMessageBoxes() {
    InstallGuiThreadCalls();
    SetMessageHandler(ShowOnGuiThread);
    SetDefaultMessageHandler(ShowOnGuiThread);
}

}  // namespace zentro
