#include "pages/preview_page.h"

#include "app/bmp_icon_app.h"
#include "pages/control_ids.h"
#include "platform/qt/wizard_sheet.h"

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

CPreviewPage::CPreviewPage(const QRect* pageRect) : CBmpPropertyPage(PreviewTemplate(), pageRect) {}

void CPreviewPage::OnInitDialog() {
    CBmpPropertyPage::OnInitDialog();
    connect(scrollBar_, &QAbstractSlider::actionTriggered, this, &CPreviewPage::OnScrollAction);
    // Letting go of the thumb ends a drag where it was let go.
    connect(scrollBar_, &QAbstractSlider::sliderReleased, this, [this] {
        OnHScroll(SB_THUMBPOSITION, scrollBar_->sliderPosition());
        OnHScroll(SB_ENDSCROLL, 0);
    });
}

bool CPreviewPage::OnSetActive() {
    // Every visit starts again at the first image, after a new build or not.
    preview_.position = 0;
    preview_.Refresh();
    const int entries = static_cast<int>(CBmpIconApp::Get().store.entries.size());
    scrollBar_->setRange(0, entries - 1);
    scrollBar_->setPageStep(1);
    scrollBar_->setSingleStep(1);
    scrollBar_->setValue(0);
    scrollBar_->setEnabled(true);
    GetParentSheet()->SetWizardButtons(kWizBack | kWizNext);
    return CBmpPropertyPage::OnSetActive();
}

void CPreviewPage::OnHScroll(int code, int thumbPosition) {
    const int limit = scrollBar_->maximum();
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
    scrollBar_->setValue(position);
}

void CPreviewPage::OnScrollAction(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub: OnHScroll(SB_LINELEFT, 0); break;
        case QAbstractSlider::SliderSingleStepAdd: OnHScroll(SB_LINERIGHT, 0); break;
        case QAbstractSlider::SliderPageStepSub: OnHScroll(SB_PAGELEFT, 0); break;
        case QAbstractSlider::SliderPageStepAdd: OnHScroll(SB_PAGERIGHT, 0); break;
        case QAbstractSlider::SliderToMinimum: OnHScroll(SB_LEFT, 0); break;
        case QAbstractSlider::SliderToMaximum: OnHScroll(SB_RIGHT, 0); break;
        // Qt has already moved the thumb: that is where a drag or the wheel took it.
        case QAbstractSlider::SliderMove: OnHScroll(SB_THUMBTRACK, scrollBar_->sliderPosition()); break;
        default: break;
    }
}

void CPreviewPage::DoDataExchange(DataExchange& dx) {
    DDX_Control(dx, kPreviewScrollBar, scrollBar_);
    DDX_Control(dx, kPreviewWindow, preview_);
}

}  // namespace zentro
