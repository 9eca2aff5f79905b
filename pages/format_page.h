#pragma once
// Second page: the colour depths and transparency. It owns the format choices.
//
// So far the page shows and keeps the five boxes; the warning beside the
// 32-bit box and the check on Next are still to come.
#include "app/bmp_property_page.h"
#include "app/choices.h"

namespace zentro {

class CFormatPage : public CBmpPropertyPage {
public:
    explicit CFormatPage(const QRect* pageRect);

    bool OnSetActive() override;

    // use32 and transparent are preset by the Input page before the page is first shown.
    FormatChoices choices;

protected:
    void DoDataExchange(DataExchange& dx) override;
};

}  // namespace zentro
