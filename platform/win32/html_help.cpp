#include "platform/html_help.h"

#include <optional>
#include <string>

#include "platform/help_reference.h"
#include "platform/wide_text.h"
#include "platform/win32/window_handle.h"
#include "platform/win32/windows_api.h"

namespace zentro {

namespace {

// The topics are the program's HTML resources; they link to one another by
// name, so all of them are written out together.
BOOL CALLBACK WriteTopic(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR folder) {
    if (IS_INTRESOURCE(name)) return TRUE;
    const HRSRC found = ::FindResourceW(module, name, type);
    const HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) return TRUE;
    const std::wstring path = *reinterpret_cast<const std::wstring*>(folder) + name;
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return TRUE;
    DWORD written = 0;
    ::WriteFile(file, bytes, ::SizeofResource(module, found), &written, nullptr);
    ::CloseHandle(file);
    return TRUE;
}

// The folder the topics are written to: one named as the help file, in the
// user's temporary folder.
std::wstring TopicFolder(const std::string& helpName) {
    wchar_t temporary[MAX_PATH + 1] = {};
    if (::GetTempPathW(MAX_PATH + 1, temporary) == 0) return {};
    std::wstring folder = std::wstring(temporary) + WideFromUtf8(helpName, BadUtf8::Replace);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L'\\';
}

}  // namespace

std::intptr_t HtmlHelpA(WindowHandle owner, const char* file, unsigned command, std::uintptr_t) {
    if (command != kHelpDisplayTopic || file == nullptr) return 0;
    const std::optional<HelpReference> reference = ParseHelpReference(file);
    if (!reference) return 0;
    const std::wstring topic = WideFromUtf8(reference->topic);
    if (topic.empty() || ::FindResourceW(nullptr, topic.c_str(), RT_RCDATA) == nullptr) return 0;
    const std::wstring folder = TopicFolder(reference->helpName);
    if (folder.empty()) return 0;
    ::EnumResourceNamesW(nullptr, RT_RCDATA, WriteTopic, reinterpret_cast<LONG_PTR>(&folder));
    // The browser the user has chosen shows it.
    const auto opened = reinterpret_cast<std::intptr_t>(
        ::ShellExecuteW(AsHwnd(owner), L"open", (folder + topic).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return opened > 32 ? opened : 0;
}

}  // namespace zentro
