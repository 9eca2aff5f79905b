#pragma once
// First page: the source bitmap's path. It is handed the Output page's path,
// the Format page's use32 and transparent flags and the Sizes page's size
// flags, which it fills in after loading a bitmap.
#include <array>
#include <string>

#include "app/bmp_property_page.h"
#include "job/choices.h"
#include "platform/controls.h"

namespace zentro {

class CInputPage : public CBmpPropertyPage {
public:
    CInputPage(const Rect* pageRect, std::string* outputPath, int* use32, int* transparent,
               std::array<int, kSizeCount>* sizes);

    bool OnSetActive() override;
    // Loads the bitmap, proposes the icon's name and presets transparency;
    // -1 (stays) when no name is given or the bitmap cannot be read.
    int OnWizardNext() override;

    // The text of the path edit; set from the command line before the page is first shown.
    std::string path;

protected:
    void DoDataExchange(DataExchange& dx) override;
    void OnInitDialog() override;

private:
    Edit pathEdit_;
    std::string* outputPath_;
    int* use32_;
    int* transparent_;
    std::array<int, kSizeCount>* sizes_;
};

}  // namespace zentro
