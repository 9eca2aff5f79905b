#pragma once
// Third page: the icon sizes, the single 256x256 image and the separate 16x16
// bitmap. It owns the size choices and reads the Format page's choices.
//
// So far the page shows and keeps its boxes and path; the enabling of the
// dependent controls, the size test and the build on Next are still to come.
#include "app/bmp_property_page.h"
#include "app/choices.h"

namespace zentro {

class CFormatPage;

class CSizesPage : public CBmpPropertyPage {
public:
    CSizesPage(const QRect* pageRect, CFormatPage* formatPage);

    SizeChoices choices;

protected:
    void DoDataExchange(DataExchange& dx) override;

private:
    CFormatPage* formatPage_;
};

}  // namespace zentro
