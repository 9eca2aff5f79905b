#pragma once
// First page: the source bitmap's path. It is handed the Output page's path and
// PNG flag, the Format page's choices and the Sizes page's size flags, which it
// presets after loading a picture: a classic bitmap as the classic wizard did,
// any other picture as the command line's defaults for it.
#include <array>
#include <string>

#include "app/bmp_property_page.h"
#include "job/choices.h"
#include "job/image_store.h"
#include "platform/controls.h"

namespace zentro {

class CInputPage : public CBmpPropertyPage {
public:
    CInputPage(const Rect* pageRect, std::string* outputPath, int* png256, FormatChoices* format,
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
    // The presets of a picture that today's rules convert.
    void PresetToday(ImageStore& store);

    Edit pathEdit_;
    std::string* outputPath_;
    int* png256_;
    FormatChoices* format_;
    std::array<int, kSizeCount>* sizes_;
    // Whether the presets of the last picture were today's, which a classic bitmap then undoes.
    bool todaysPresets_ = false;
};

}  // namespace zentro
