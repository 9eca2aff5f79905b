#pragma once
// Second page: the colour depths and transparency. It owns the format choices.
// Beside the 32-bit box a warning shows while alpha is chosen without
// transparency, since the classic rules then make no 32-bit image; today's make
// it opaque.
#include "app/bmp_property_page.h"
#include "job/choices.h"
#include "platform/controls.h"

namespace zentro {

class CFormatPage : public CBmpPropertyPage {
public:
    explicit CFormatPage(const Rect* pageRect);

    bool OnSetActive() override;
    // -1 (stays) unless some depth can be made; reads the boxes, not the choices.
    int OnWizardNext() override;

    // use32 and transparent are preset by the Input page before the page is first shown.
    FormatChoices choices;

protected:
    void DoDataExchange(DataExchange& dx) override;

private:
    // Shows the warning exactly while the 32-bit box is checked and the transparent box
    // is not, where that makes no 32-bit image.
    void UpdateWarning();
    // Whether the picture's rules make a 32-bit image without transparency.
    static bool Opaque32();

    Static warningText_;
    Static warningIcon_;
    CheckBox transparentBox_;
    CheckBox box32_;
    CheckBox box4_;
    CheckBox box8_;
    CheckBox box24_;
};

}  // namespace zentro
