#pragma once
// The wizard with its banner (see platform/wizard_run.h): a 60-pixel strip
// across the top with the bold program title on the left and the program icon
// on the right. The pages sit 60 pixels lower than the plain sheet would put
// them; the sheet writes that place into `pageRect` for the pages to move to.
#include <QFont>
#include <QLabel>

#include "platform/qt/banner_title.h"
#include "platform/qt/banner_window.h"
#include "platform/qt/wizard_sheet.h"
#include "platform/rect.h"

namespace zentro {

constexpr int kBannerHeight = 60;

class BannerSheet : public WizardSheet {
    Q_OBJECT

public:
    // `pageRect` must outlive the sheet.
    explicit BannerSheet(Rect& pageRect);
    ~BannerSheet() override;

    const BannerWindow& Banner() const { return banner_; }
    const QLabel& Icon() const { return icon_; }
    const BannerTitle& Title() const { return title_; }

protected:
    bool OnInitDialog() override;

private:
    Rect& pageRect_;
    BannerWindow banner_;
    QLabel icon_;
    BannerTitle title_;
    QFont titleFont_;
};

}  // namespace zentro
