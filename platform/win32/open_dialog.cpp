#include "platform/open_dialog.h"

#include <algorithm>
#include <vector>

#include "platform/wide_text.h"
#include "platform/win32/window_handle.h"
#include "platform/win32/windows_api.h"

namespace zentro {

bool ShowOpenDialog(WindowHandle owner, const std::string& filter, const std::string& defaultExtension,
                    std::string& path) {
    // The resource style's separators are the dialog's own, written as '|'.
    std::wstring filters = WideFromUtf8(filter, BadUtf8::Replace);
    std::replace(filters.begin(), filters.end(), L'|', L'\0');
    const std::wstring extension = WideFromUtf8(defaultExtension, BadUtf8::Replace);
    std::vector<wchar_t> chosen(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ::GetAncestor(AsHwnd(owner), GA_ROOT);
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLESIZING;
    if (!::GetOpenFileNameW(&dialog)) return false;
    path = Utf8FromWide(chosen.data());
    return true;
}

bool ShowFolderDialog(WindowHandle owner, std::string& folder) {
    BROWSEINFOW browse{};
    browse.hwndOwner = ::GetAncestor(AsHwnd(owner), GA_ROOT);
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&browse);
    if (chosen == nullptr) return false;
    std::vector<wchar_t> path(32768, L'\0');
    const bool found = ::SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
    ::CoTaskMemFree(chosen);
    if (!found || path[0] == L'\0') return false;
    folder = Utf8FromWide(path.data());
    return true;
}

}  // namespace zentro
