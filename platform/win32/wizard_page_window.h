#pragma once
// A wizard page's window on Windows: the property sheet makes it from the
// page's template in memory, and this dialog procedure turns the sheet's
// notifications into the page's wizard protocol (platform/wizard_page.h).
#include "platform/win32/windows_api.h"

namespace zentro {

class WizardPage;

struct WizardPageWindow {
    // The dialog procedure of every page; the page comes in the
    // PROPSHEETPAGE's lParam.
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR OnNotify(WizardPage& page, HWND window, const NMHDR& header);
    static void OnCommand(WizardPage& page, WPARAM wParam);
    static void OnHScroll(WizardPage& page, HWND bar, WPARAM wParam);
};

}  // namespace zentro
