#pragma once
// Drives a wizard that runs modally inside the code under test.
#include <QApplication>
#include <QTimer>
#include <functional>

#include "platform/qt/wizard_sheet.h"

namespace zentro::test {

// Runs `script` on the wizard as soon as its modal loop runs. A script that
// leaves the wizard open (a failed check returns early) is followed by
// Cancel, so that the suite cannot hang.
inline void OnModalWizard(std::function<void(WizardSheet&)> script) {
    QTimer::singleShot(0, [script] {
        auto* sheet = qobject_cast<WizardSheet*>(QApplication::activeModalWidget());
        if (sheet == nullptr) qFatal("no modal wizard is running");
        script(*sheet);
        if (sheet->isVisible()) sheet->reject();
    });
}

}  // namespace zentro::test
