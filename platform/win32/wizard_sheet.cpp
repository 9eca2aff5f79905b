#include "platform/win32/wizard_sheet.h"

#include <algorithm>
#include <memory>

#include "platform/application.h"
#include "platform/wide_text.h"
#include "platform/win32/banner.h"
#include "platform/win32/dialog_memory.h"
#include "platform/win32/window_handle.h"
#include "platform/win32/wizard_page_window.h"
#include "platform/wizard_page.h"

namespace zentro {

namespace {

constexpr int kBannerHeight = 60;  // at 96 dots per inch
constexpr int kProgramIcon = 128;

// The buttons of a sheet in wizard mode, by the ids the system gives them.
constexpr int kBackButton = 0x3023;
constexpr int kNextButton = 0x3024;
constexpr int kFinishButton = 0x3025;

// The property sheet's callback has no room for context: one modal wizard
// runs at a time, and this is it.
WizardSheet* gRunning = nullptr;
std::unique_ptr<Banner> gBanner;

// The sheet's direct children, in order.
std::vector<HWND> ChildrenOf(HWND window) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

Rect PlaceIn(HWND parent, HWND child) {
    RECT place;
    ::GetWindowRect(child, &place);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    return {place.left, place.top, place.right - place.left, place.bottom - place.top};
}

}  // namespace

void WizardSheet::AddPage(WizardPage* page) {
    pages_.push_back(page);
    page->SetParentSheet(*this);
}

int WizardSheet::GetPageIndex(const WizardPage* page) const {
    const auto found = std::find(pages_.begin(), pages_.end(), page);
    return found == pages_.end() ? -1 : static_cast<int>(found - pages_.begin());
}

void WizardSheet::SetWizardButtons(unsigned flags) {
    // The first page asks before the sheet has told its callback who it is.
    HWND sheet = sheet_;
    for (const WizardPage* page : pages_)
        if (sheet == nullptr && page->IsCreated()) sheet = ::GetParent(AsHwnd(page->Handle()));
    // The flags are the system's own PSWIZB_ values. Pages ask while the sheet
    // is activating them (PSN_SETACTIVE), when a sent request is overridden by
    // the sheet's own button and focus update: posted, it comes after that.
    if (sheet != nullptr) ::PostMessageW(sheet, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
}

int WizardSheet::DoModal() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    std::vector<DialogMemory> templates;
    templates.reserve(pages_.size());
    std::vector<PROPSHEETPAGEW> sheetPages;
    for (WizardPage* page : pages_) {
        templates.emplace_back(page->Template());
        PROPSHEETPAGEW sheetPage{};
        sheetPage.dwSize = sizeof sheetPage;
        sheetPage.dwFlags = PSP_DLGINDIRECT | PSP_HASHELP;
        sheetPage.hInstance = instance;
        sheetPage.pResource = templates.back().Template();
        sheetPage.pfnDlgProc = WizardPageWindow::DialogProc;
        sheetPage.lParam = reinterpret_cast<LPARAM>(page);
        sheetPages.push_back(sheetPage);
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_WIZARD | PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_HASHELP | PSH_USEHICON;
    header.hInstance = instance;
    header.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(kProgramIcon));
    header.pszCaption = L"";
    header.nPages = static_cast<UINT>(sheetPages.size());
    header.ppsp = sheetPages.data();
    header.pfnCallback = SheetCallback;
    finished_ = false;
    gRunning = this;
    ::PropertySheetW(&header);
    gRunning = nullptr;
    gBanner.reset();
    sheet_ = nullptr;
    bannerHeight_ = 0;
    return finished_ ? kWizardFinished : kWizardCancelled;
}

void WizardSheet::OnPageActivating(HWND page) {
    // Where the system makes the first page only after the banner is in place,
    // that page still sits where the sheet puts pages without one.
    if (bannerHeight_ == 0 || !pageRect_.IsNull()) return;
    pageRect_ = PlaceIn(::GetParent(page), page);
    pageRect_.top += bannerHeight_;
}

int CALLBACK WizardSheet::SheetCallback(HWND sheet, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED && gRunning != nullptr) gRunning->OnInitialized(sheet);
    return 0;
}

void WizardSheet::OnInitialized(HWND sheet) {
    sheet_ = sheet;
    for (const auto& [id, text] :
         {std::pair{kBackButton, kBackText}, std::pair{kNextButton, kNextText}, std::pair{kFinishButton, kFinishText},
          std::pair{IDCANCEL, kCancelText}, std::pair{IDHELP, kHelpText}})
        ::SetDlgItemTextW(sheet, id, WideFromUtf8(text).c_str());

    // Make room for the banner: the sheet grows and everything in it moves down.
    const HDC screen = ::GetDC(sheet);
    const int banner = ::MulDiv(kBannerHeight, ::GetDeviceCaps(screen, LOGPIXELSY), 96);
    ::ReleaseDC(sheet, screen);
    RECT outer;
    ::GetWindowRect(sheet, &outer);
    ::SetWindowPos(sheet, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + banner,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const HWND child : ChildrenOf(sheet)) {
        const Rect place = PlaceIn(sheet, child);
        ::SetWindowPos(child, nullptr, place.left, place.top + banner, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    bannerHeight_ = banner;
    // Where the first page exists already, it has just moved with the rest.
    if (const HWND page = PropSheet_GetCurrentPageHwnd(sheet)) pageRect_ = PlaceIn(sheet, page);
    gBanner = std::make_unique<Banner>(sheet, banner, reinterpret_cast<HFONT>(::SendMessageW(sheet, WM_GETFONT, 0, 0)));

    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (const auto& [which, metric] : {std::pair{ICON_SMALL, SM_CXSMICON}, std::pair{ICON_BIG, SM_CXICON}}) {
        const int side = ::GetSystemMetrics(metric);
        const HANDLE icon = ::LoadImageW(instance, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON, side, side, LR_SHARED);
        ::SendMessageW(sheet, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    }
    ::SetWindowSubclass(sheet, SheetSubclass, 0, 0);
}

LRESULT CALLBACK WizardSheet::SheetSubclass(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR) {
    switch (message) {
        // F1 anywhere in the wizard, and the Help button.
        case WM_HELP:
            if (Application* application = Application::Current()) application->OnHelp();
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDHELP && HIWORD(wParam) == BN_CLICKED) {
                if (Application* application = Application::Current()) application->OnHelp();
                return 0;
            }
            break;
        case WM_NCDESTROY: ::RemoveWindowSubclass(sheet, SheetSubclass, 0); break;
        default: break;
    }
    return ::DefSubclassProc(sheet, message, wParam, lParam);
}

}  // namespace zentro
