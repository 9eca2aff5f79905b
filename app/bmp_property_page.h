#pragma once
// The base of every wizard page: on activation the page moves itself into the
// sheet's page rectangle (below the banner) and records its index in the image
// store, so that help opens the topic of the page the user is looking at.
#include "platform/rect.h"
#include "platform/wizard_page.h"

namespace zentro {

class CBmpPropertyPage : public WizardPage {
public:
    // `pageRect` is the sheet's, filled in by its initialisation.
    CBmpPropertyPage(DialogTemplate dialog, const Rect* pageRect);

    // Pages set their wizard buttons first and then call this.
    bool OnSetActive() override;

private:
    const Rect* pageRect_;
};

}  // namespace zentro
