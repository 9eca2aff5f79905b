#pragma once
// Second page: the colour depths and transparency. It owns the format choices.
// Beside the 32-bit box a warning shows while alpha is chosen without
// transparency, since no 32-bit image can then be made.
#include <QCheckBox>
#include <QLabel>

#include "app/bmp_property_page.h"
#include "job/choices.h"

namespace zentro {

class CFormatPage : public CBmpPropertyPage {
public:
    explicit CFormatPage(const QRect* pageRect);

    bool OnSetActive() override;
    // -1 (stays) unless some depth can be made; reads the boxes, not the choices.
    int OnWizardNext() override;

    // use32 and transparent are preset by the Input page before the page is first shown.
    FormatChoices choices;

protected:
    void DoDataExchange(DataExchange& dx) override;

private:
    // Shows the warning exactly while the 32-bit box is checked and the transparent box is not.
    void UpdateWarning();

    QLabel* warningText_ = nullptr;
    QLabel* warningIcon_ = nullptr;
    QCheckBox* transparentBox_ = nullptr;
    QCheckBox* box32_ = nullptr;
    QCheckBox* box4_ = nullptr;
    QCheckBox* box8_ = nullptr;
    QCheckBox* box24_ = nullptr;
};

}  // namespace zentro
