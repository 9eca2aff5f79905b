#include "platform/wizard_run.h"

#include "platform/win32/wizard_sheet.h"

namespace zentro {

int RunBannerWizard(Rect& pageRect, const std::vector<WizardPage*>& pages) {
    WizardSheet sheet(pageRect);
    for (WizardPage* page : pages) sheet.AddPage(page);
    return sheet.DoModal();
}

}  // namespace zentro
