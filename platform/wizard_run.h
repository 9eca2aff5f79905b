#pragma once
// The wizard as the program shows it: its pages in a modal sheet with the
// program's banner across the top, the banner title (IDS_BANNER_TITLE) in
// bold on its left and the program's icon on its right.
#include <vector>

#include "platform/rect.h"

namespace zentro {

class WizardPage;

// Runs the wizard over `pages`, shown in this order: kWizardFinished or
// kWizardCancelled (property_sheet.h). Once the sheet is laid out, `pageRect`
// holds the pages' place below the banner, in the sheet's coordinates; it is
// null before.
int RunBannerWizard(Rect& pageRect, const std::vector<WizardPage*>& pages);

}  // namespace zentro
