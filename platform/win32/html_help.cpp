#include "platform/html_help.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/help_reference.h"
#include "platform/wide_text.h"
#include "platform/win32/window_handle.h"
#include "platform/win32/windows_api.h"

namespace zentro {

namespace {

// The resource that lists the topics' names as their links spell them: the
// resource compiler keeps the topics' own resource names in capitals, and a
// browser on a file system that tells cases apart would follow no link.
constexpr wchar_t kTopicList[] = L"HELPTOPICS";

// The program's RCDATA resource `name`, or nothing.
std::string_view ResourceBytes(const wchar_t* name) {
    const HRSRC found = ::FindResourceW(nullptr, name, RT_RCDATA);
    const HGLOBAL loaded = found != nullptr ? ::LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) return {};
    return {static_cast<const char*>(bytes), ::SizeofResource(nullptr, found)};
}

std::vector<std::wstring> TopicNames() {
    const std::string_view bytes = ResourceBytes(kTopicList);
    std::wstring list(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(list.data(), bytes.data(), list.size() * sizeof(wchar_t));
    std::vector<std::wstring> names;
    for (std::size_t start = 0; start < list.size();) {
        const std::size_t end = std::min(list.find(L'\0', start), list.size());
        if (end > start) names.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

void WriteTopic(const std::wstring& path, std::string_view bytes) {
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
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
    const std::vector<std::wstring> names = TopicNames();
    if (std::find(names.begin(), names.end(), topic) == names.end()) return 0;
    const std::wstring folder = TopicFolder(reference->helpName);
    if (folder.empty()) return 0;
    // The topics link to one another, so all of them are written out together.
    for (const std::wstring& name : names) WriteTopic(folder + name, ResourceBytes(name.c_str()));
    // The browser the user has chosen shows it.
    const auto opened = reinterpret_cast<std::intptr_t>(
        ::ShellExecuteW(AsHwnd(owner), L"open", (folder + topic).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return opened > 32 ? opened : 0;
}

}  // namespace zentro
