#include "platform/wizard_page.h"

#include "platform/wide_text.h"
#include "platform/win32/window_handle.h"
#include "platform/win32/wizard_page_window.h"
#include "platform/win32/wizard_sheet.h"

namespace zentro {

// The sheet makes the window when the page is first shown.
WizardPage::WizardPage(DialogTemplate dialog) : template_(std::move(dialog)), window_(nullptr) {}

// The sheet destroys the pages' windows when the wizard ends.
WizardPage::~WizardPage() = default;

void WizardPage::MoveWindow(const Rect& where) {
    ::MoveWindow(AsHwnd(window_), where.left, where.top, where.width, where.height, TRUE);
}

void WizardPage::ReplaceControl(int id, WindowHandle replacement) {
    // A control the page does not have stops the program, as on the other platform.
    const HWND control = AsHwnd(RequireControl(*this, id, ControlClass::Any));
    const HWND page = AsHwnd(window_);
    const HWND widget = AsHwnd(replacement);
    RECT place;
    ::GetWindowRect(control, &place);
    ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&place), 2);
    ::SetParent(widget, page);
    // Right after the control in the tab and drawing order, where it was.
    ::SetWindowPos(widget, control, place.left, place.top, place.right - place.left, place.bottom - place.top,
                   SWP_NOACTIVATE);
    ::EnableWindow(widget, ::IsWindowEnabled(control));
    ::ShowWindow(widget, (::GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
    ::DestroyWindow(control);
    ::SetWindowLongPtrW(widget, GWLP_ID, id);
    controls_[id] = replacement;
}

void WizardPage::Create() {
    for (const ControlTemplate& control : template_.controls)
        if (control.id != kStaticId) controls_.emplace(control.id, HandleOf(::GetDlgItem(AsHwnd(window_), control.id)));
    created_ = true;
    OnInitDialog();
}

INT_PTR CALLBACK WizardPageWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* page = reinterpret_cast<WizardPage*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        page->window_ = HandleOf(window);
        page->Create();
        // The sheet puts the focus on the page's first control.
        return TRUE;
    }
    auto* page = reinterpret_cast<WizardPage*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (page == nullptr) return FALSE;
    switch (message) {
        case WM_NOTIFY: {
            const INT_PTR result = OnNotify(*page, window, *reinterpret_cast<const NMHDR*>(lParam));
            ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
            return TRUE;
        }
        case WM_COMMAND: OnCommand(*page, wParam); return FALSE;
        case WM_HSCROLL: OnHScroll(*page, reinterpret_cast<HWND>(lParam), wParam); return TRUE;
        default: return FALSE;
    }
}

INT_PTR WizardPageWindow::OnNotify(WizardPage& page, HWND window, const NMHDR& header) {
    switch (header.code) {
        case PSN_SETACTIVE: {
            auto* sheet = dynamic_cast<WizardSheet*>(page.GetParentSheet());
            if (sheet != nullptr) sheet->OnPageActivating(window);
            if (!page.OnSetActive()) return -1;
            // The wizard's title is the page's caption, as its template gives it.
            const std::wstring caption = WideFromUtf8(page.Caption(), BadUtf8::Replace);
            ::SetWindowTextW(::GetParent(window), caption.c_str());
            return 0;
        }
        case PSN_KILLACTIVE: return page.OnKillActive() ? FALSE : TRUE;
        case PSN_WIZNEXT: return page.OnWizardNext();
        case PSN_WIZBACK: return page.OnWizardBack();
        case PSN_WIZFINISH:
            if (!page.OnWizardFinish()) return TRUE;
            if (auto* sheet = dynamic_cast<WizardSheet*>(page.GetParentSheet())) sheet->SetFinished();
            return FALSE;
        default: return 0;
    }
}

void WizardPageWindow::OnCommand(WizardPage& page, WPARAM wParam) {
    if (HIWORD(wParam) != BN_CLICKED) return;
    const int id = LOWORD(wParam);
    for (const auto& [handlerId, handler] : page.clickHandlers_)
        if (handlerId == id) handler();
}

void WizardPageWindow::OnHScroll(WizardPage& page, HWND bar, WPARAM wParam) {
    const int code = LOWORD(wParam);
    // While the thumb is dragged its place in full, not the 16 bits that the
    // message has room for.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    ::GetScrollInfo(bar, SB_CTL, &info);
    page.OnHScroll(code, code == SB_THUMBTRACK ? info.nTrackPos : HIWORD(wParam));
}

}  // namespace zentro
