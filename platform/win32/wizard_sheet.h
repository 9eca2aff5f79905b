#pragma once
// The wizard on Windows: the system's property sheet in wizard mode over the
// pages, with the program's banner across its top (see platform/wizard_run.h):
// a strip as wide as the sheet with the bold banner title on the left and the
// program's icon on the right. The sheet grows by the banner's height and
// everything in it moves down; `pageRect` gets the pages' new place.
#include <vector>

#include "platform/property_sheet.h"
#include "platform/rect.h"
#include "platform/win32/windows_api.h"

namespace zentro {

class WizardSheet : public PropertySheet {
public:
    // `pageRect` must outlive the sheet.
    explicit WizardSheet(Rect& pageRect) : pageRect_(pageRect) {}

    // Pages appear in the order they are added; they must outlive the run.
    void AddPage(WizardPage* page);
    // Runs the wizard modally: kWizardFinished or kWizardCancelled.
    int DoModal();

    void SetWizardButtons(unsigned flags) override;
    int GetPageIndex(const WizardPage* page) const override;

    // Told by the last page when Finish has been accepted.
    void SetFinished() { finished_ = true; }
    // Told by a page before it is asked whether it takes the activation, so
    // that the pages' place is known before the first one moves there.
    void OnPageActivating(HWND page);

private:
    static int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM lParam);
    static LRESULT CALLBACK SheetSubclass(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR data);
    void OnInitialized(HWND sheet);

    Rect& pageRect_;
    std::vector<WizardPage*> pages_;
    HWND sheet_ = nullptr;
    int bannerHeight_ = 0;  // 0 until the banner is in place
    bool finished_ = false;
};

}  // namespace zentro
