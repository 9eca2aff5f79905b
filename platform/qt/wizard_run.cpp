#include "platform/wizard_run.h"

#include "platform/qt/banner_sheet.h"

namespace zentro {

int RunBannerWizard(Rect& pageRect, const std::vector<WizardPage*>& pages) {
    BannerSheet sheet(pageRect);
    for (WizardPage* page : pages) sheet.AddPage(page);
    return sheet.DoModal();
}

}  // namespace zentro
