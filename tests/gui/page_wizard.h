#pragma once
// The Input, Format and Output pages wired to each other as the driver wires
// them, in a banner sheet shown without a modal loop, so that a test can press
// the buttons and look at the pages in between.
#include <QTest>
#include <vector>

#include "app/bmp_icon_app.h"
#include "page_widgets.h"
#include "pages/format_page.h"
#include "pages/input_page.h"
#include "pages/output_page.h"
#include "platform/qt/banner_sheet.h"

namespace zentro::test {

struct PageWizard {
    CBmpIconApp application;
    Rect pageRect;
    BannerSheet sheet{pageRect};
    CFormatPage format{&pageRect};
    COutputPage output{&pageRect};
    SizeChoices sizes;
    CInputPage input{&pageRect, &output.path, &output.png256, &format.choices, &sizes.sizes};

    // Adds `pages` in this order and shows the sheet on the first.
    void Show(const std::vector<WizardPage*>& pages) {
        for (WizardPage* page : pages) sheet.AddPage(page);
        sheet.Create();
    }

    // Control `id` of the page shown; null when it has none of type W.
    template <class W>
    W* Control(int id) const {
        return DlgItem<W>(*sheet.GetActivePage(), id);
    }

    void Press(WizardCommand command) { sheet.PressButton(command); }
    const WizardPage* Active() const { return sheet.GetActivePage(); }
};

}  // namespace zentro::test
