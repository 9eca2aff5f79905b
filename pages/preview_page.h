#pragma once
// Fourth page: the images of the icon, one at a time.
//
// So far the page shows its frame; the picture and the scroll bar's stepping
// through the entry list are still to come.
#include "app/bmp_property_page.h"

namespace zentro {

class CPreviewPage : public CBmpPropertyPage {
public:
    explicit CPreviewPage(const QRect* pageRect);

    bool OnSetActive() override;
};

}  // namespace zentro
