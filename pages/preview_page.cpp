#include "pages/preview_page.h"

#include "app/bmp_icon_app.h"
#include "pages/control_ids.h"

namespace zentro {

namespace {

DialogTemplate PreviewTemplate() {
    return {110,
            "Ikoblen - 预览",
            245,
            248,
            {
                {ControlKind::Text, kStaticId, "预览：", 9, 2, 28, 11},
                {ControlKind::Text, kPreviewWindow, "", 8, 12, 183, 180},
                {ControlKind::HScrollBar, kPreviewScrollBar, "", 7, 195, 184, 12},
            }};
}

}  // namespace

CPreviewPage::CPreviewPage(const Rect* pageRect) : CBmpPropertyPage(PreviewTemplate(), pageRect) {}

bool CPreviewPage::OnSetActive() {
    // Every visit starts again at the first image, after a new build or not.
    preview_.position = 0;
    preview_.Refresh();
    const int entries = static_cast<int>(CBmpIconApp::Get().store.entries.size());
    scrollBar_.SetRange(0, entries - 1);
    scrollBar_.SetPos(0);
    scrollBar_.Enable(true);
    GetParentSheet()->SetWizardButtons(kWizBack | kWizNext);
    return CBmpPropertyPage::OnSetActive();
}

void CPreviewPage::OnHScroll(int code, int thumbPosition) {
    const int limit = scrollBar_.Maximum();
    int& position = preview_.position;
    switch (code) {
        case SB_LINELEFT:
        case SB_PAGELEFT:
            if (position != 0) --position;
            break;
        case SB_LINERIGHT:
        case SB_PAGERIGHT:
            if (static_cast<unsigned>(position) < static_cast<unsigned>(limit)) ++position;
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: position = thumbPosition; break;
        case SB_LEFT: position = 0; break;
        case SB_RIGHT: position = limit; break;
        default: break;
    }
    preview_.Refresh();
    // Setting the value triggers no action, so this does not come back here.
    scrollBar_.SetPos(position);
}

void CPreviewPage::DoDataExchange(DataExchange& dx) {
    DDX_Control(dx, kPreviewScrollBar, scrollBar_);
    DDX_Control(dx, kPreviewWindow, preview_);
}

}  // namespace zentro
