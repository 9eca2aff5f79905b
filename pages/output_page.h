#pragma once
// Last page: the icon file's name, proposed by the Input page. Finish checks
// it (length, folder, directory, overwrite consent); the file is written by
// the driver once the wizard has closed.
#include <string>

#include "app/bmp_property_page.h"
#include "platform/controls.h"

namespace zentro {

class COutputPage : public CBmpPropertyPage {
public:
    explicit COutputPage(const Rect* pageRect);

    bool OnSetActive() override;
    // False (stays) after telling the user why the name cannot be used.
    bool OnWizardFinish() override;

    // The icon file to write; written by the Input page, read by the driver.
    std::string path;
    // Non-zero: the 32-bit 256 x 256 image is stored as PNG.
    int png256 = 0;

protected:
    void DoDataExchange(DataExchange& dx) override;

private:
    // Replaces the edit's whole text with a chosen folder.
    void BrowseForFolder();

    Edit pathEdit_;
    CheckBox png256Box_;
};

}  // namespace zentro
