#pragma once
// A wizard page that writes every call of the protocol into a shared log and
// answers as a test tells it to. Its template has an edit (kEditId) followed
// by a check box (kCheckId); the exchange moves them to `text` and `check`.
#include <string>
#include <vector>

#include "platform/qt/wizard_sheet.h"
#include "platform/wizard_page.h"

namespace zentro::test {

class RecordingPage : public WizardPage {
public:
    static constexpr int kEditId = 1014;
    static constexpr int kCheckId = 1026;

    RecordingPage(std::string name, std::vector<std::string>& log)
        : WizardPage({200,
                      "Caption " + name,
                      210,
                      205,
                      {{ControlKind::Text, kStaticId, "Label", 7, 7, 100, 8},
                       {ControlKind::Edit, kEditId, "", 7, 17, 196, 14, kTabStop},
                       {ControlKind::AutoCheckBox, kCheckId, "Bo&x", 7, 36, 60, 10, kTabStop}}}),
          name_(std::move(name)),
          log_(log) {}

    // What the page answers.
    int nextResult = 0;
    int backResult = 0;
    bool finishResult = true;
    bool acceptActivation = true;
    bool failSave = false;

    // Exchanged members.
    std::string text;
    int check = 0;

    bool OnSetActive() override {
        Log("SetActive");
        if (!acceptActivation) return false;
        return WizardPage::OnSetActive();
    }
    int OnWizardNext() override {
        Log("Next");
        return nextResult;
    }
    int OnWizardBack() override {
        Log("Back");
        return backResult;
    }
    bool OnWizardFinish() override {
        Log("Finish");
        return finishResult;
    }

protected:
    void DoDataExchange(DataExchange& dx) override {
        Log(dx.SaveAndValidate() ? "Save" : "Load");
        DDX_Text(dx, kEditId, text);
        DDX_Check(dx, kCheckId, check);
        if (dx.SaveAndValidate() && failSave) dx.Fail();
    }

private:
    void Log(const char* what) { log_.push_back(name_ + ":" + what); }

    std::string name_;
    std::vector<std::string>& log_;
};

}  // namespace zentro::test
