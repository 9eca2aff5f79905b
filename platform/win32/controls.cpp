#include "platform/controls.h"

#include <algorithm>

#include "platform/wide_text.h"
#include "platform/win32/window_handle.h"
#include "platform/win32/windows_api.h"

namespace zentro {

void Control::Enable(bool enabled) { ::EnableWindow(AsHwnd(window_), enabled ? TRUE : FALSE); }

void Control::Show(bool visible) { ::ShowWindow(AsHwnd(window_), visible ? SW_SHOW : SW_HIDE); }

std::string Edit::Text() const {
    const HWND edit = AsHwnd(Handle());
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return Utf8FromWide(text);
}

void Edit::SetText(const std::string& text) {
    ::SetWindowTextW(AsHwnd(Handle()), WideFromUtf8(text, BadUtf8::Replace).c_str());
}

int CheckBox::Check() const {
    const LRESULT state = ::SendMessageW(AsHwnd(Handle()), BM_GETCHECK, 0, 0);
    return state == BST_CHECKED ? 1 : state == BST_INDETERMINATE ? 2 : 0;
}

void CheckBox::SetCheck(int state) {
    const WPARAM check = state == 1 ? BST_CHECKED : state == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
    ::SendMessageW(AsHwnd(Handle()), BM_SETCHECK, check, 0);
}

void ScrollBar::SetRange(int minimum, int maximum) {
    ::SetScrollRange(AsHwnd(Handle()), SB_CTL, minimum, maximum, TRUE);
}

int ScrollBar::Maximum() const {
    int minimum = 0;
    int maximum = 0;
    ::GetScrollRange(AsHwnd(Handle()), SB_CTL, &minimum, &maximum);
    return maximum;
}

void ScrollBar::SetPos(int position) { ::SetScrollPos(AsHwnd(Handle()), SB_CTL, position, TRUE); }

void Static::SetWarningIcon() {
    const HWND label = AsHwnd(Handle());
    RECT client{};
    ::GetClientRect(label, &client);
    const int side = std::min(client.right, client.bottom);
    // Shared: the system owns it, and it is never destroyed.
    auto* icon = static_cast<HICON>(::LoadImageW(nullptr, IDI_WARNING, IMAGE_ICON, side, side, LR_SHARED));
    ::SendMessageW(label, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

}  // namespace zentro
