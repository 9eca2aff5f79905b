#pragma once
// Third page: the icon sizes, the single 256x256 image and the separate 16x16
// bitmap. It owns the size choices and reads the Format page's choices.
//
// Leaving with Next is where the icon's images are made: the page's data
// exchange, which the sheet runs after OnWizardNext, tests that a size is
// chosen and builds the image set; either failure keeps the user here.
#include "app/bmp_property_page.h"
#include "job/choices.h"
#include "platform/controls.h"

namespace zentro {

class CFormatPage;

class CSizesPage : public CBmpPropertyPage {
public:
    CSizesPage(const Rect* pageRect, CFormatPage* formatPage);

    bool OnSetActive() override;
    int OnWizardBack() override;
    int OnWizardNext() override;

    SizeChoices choices;

protected:
    void DoDataExchange(DataExchange& dx) override;
    void OnInitDialog() override;

private:
    // Enables the controls that depend on a box, by the boxes as they are now.
    void UpdateEnabling();
    // Builds every image of the icon; false after the user was told why not.
    bool BuildImages();

    CheckBox onlyOne256Box_;
    CheckBox box256_;
    CheckBox box16_;
    PushButton browseButton_;
    CheckBox use16BitmapBox_;
    Edit pathEdit_;
    // Only a Next runs the size test and the build: Back and activation clear it.
    bool leavingForward_ = false;
    CFormatPage* formatPage_;
};

}  // namespace zentro
