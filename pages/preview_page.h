#pragma once
// Fourth page: the images of the icon, one at a time, in the order of the
// entry list; the scroll bar under the picture steps through them.
#include <QScrollBar>

#include "app/bmp_property_page.h"
#include "pages/preview_wnd.h"

namespace zentro {

// The scroll codes of a horizontal scroll bar, by their platform numbers.
enum ScrollCode : int {
    SB_LINELEFT = 0,
    SB_LINERIGHT = 1,
    SB_PAGELEFT = 2,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_LEFT = 6,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8,
};

class CPreviewPage : public CBmpPropertyPage {
public:
    explicit CPreviewPage(const QRect* pageRect);

    bool OnSetActive() override;
    // Moves to another entry by scroll code; `thumbPosition` counts for the thumb codes only.
    void OnHScroll(int code, int thumbPosition);

    const CPreviewWnd& Preview() const { return preview_; }

protected:
    void DoDataExchange(DataExchange& dx) override;
    void OnInitDialog() override;

private:
    // What the user did to the scroll bar, as the scroll code it stands for.
    void OnScrollAction(int action);

    QScrollBar* scrollBar_ = nullptr;
    CPreviewWnd preview_;
};

}  // namespace zentro
