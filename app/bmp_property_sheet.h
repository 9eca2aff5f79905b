#pragma once
// The wizard with its banner: a 60-pixel strip across the top with the bold
// program title on the left and the program icon on the right. The pages sit
// 60 pixels lower than the plain sheet would put them; every page moves
// itself into pageRect when it becomes active (CBmpPropertyPage).
#include <QFont>
#include <QLabel>

#include "app/banner_wnd.h"
#include "app/title_static.h"
#include "platform/qt/wizard_sheet.h"
#include "platform/rect.h"

namespace zentro {

constexpr int kBannerHeight = 60;

class CBmpPropertySheet : public WizardSheet {
    Q_OBJECT

public:
    CBmpPropertySheet();
    ~CBmpPropertySheet() override;

    // Where every page must sit, in the sheet's coordinates; null until the
    // sheet's initialisation has run.
    Rect pageRect;

    const CBannerWnd& Banner() const { return banner_; }
    const QLabel& Icon() const { return icon_; }
    const CTitleStatic& Title() const { return title_; }

protected:
    bool OnInitDialog() override;

private:
    CBannerWnd banner_;
    QLabel icon_;
    CTitleStatic title_;
    QFont titleFont_;
};

}  // namespace zentro
