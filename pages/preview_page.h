#pragma once
// Fourth page: the images of the icon, one at a time, in the order of the
// entry list; the scroll bar under the picture steps through them.
#include "app/bmp_property_page.h"
#include "pages/preview_wnd.h"
#include "platform/controls.h"

namespace zentro {

class CPreviewPage : public CBmpPropertyPage {
public:
    explicit CPreviewPage(const Rect* pageRect);

    bool OnSetActive() override;
    // Moves to another entry by scroll code; `thumbPosition` counts for the thumb codes only.
    void OnHScroll(int code, int thumbPosition) override;

    const CPreviewWnd& Preview() const { return preview_; }

protected:
    void DoDataExchange(DataExchange& dx) override;

private:
    ScrollBar scrollBar_;
    CPreviewWnd preview_;
};

}  // namespace zentro
