#include "headless_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <stdexcept>

#include "platform/application.h"
#include "platform/bitmap_drawing.h"
#include "platform/file_drop.h"
#include "platform/html_help.h"
#include "platform/open_dialog.h"
#include "platform/wizard_page.h"
#include "platform/wizard_run.h"
#include "platform/worker_run.h"

namespace zentro {

namespace {

// As on a real platform, a page naming a control it lacks is a programming error: stop.
NativeWindow* Require(const WizardPage& page, int id, std::initializer_list<ControlKind> kinds) {
    NativeWindow* control = page.GetDlgItem(id);
    if (control == nullptr || (kinds.size() != 0 && std::count(kinds.begin(), kinds.end(), control->kind) == 0)) {
        std::fprintf(stderr, "page %d has no control %d of the kind asked for\n", page.Template().id, id);
        std::abort();
    }
    return control;
}

bool AnswerDialog(const std::string& shown, std::string& chosen) {
    test::HeadlessWorld& world = test::World();
    world.dialogsShown.push_back(shown);
    if (world.dialogReplies.empty()) {
        ADD_FAILURE() << "a dialog opened that the test did not expect";
        return false;
    }
    const std::optional<std::string> reply = world.dialogReplies.front();
    world.dialogReplies.pop_front();
    if (reply) chosen = *reply;
    return reply.has_value();
}

}  // namespace

WizardPage::WizardPage(DialogTemplate dialog) : template_(std::move(dialog)), window_(new NativeWindow) {}

WizardPage::~WizardPage() { delete window_; }

// Nothing is laid out without a screen.
void WizardPage::MoveWindow(const Rect&) {}

void WizardPage::ReplaceControl(int id, WindowHandle replacement) {
    NativeWindow* old = Require(*this, id, {});
    replacement->id = id;
    replacement->enabled = old->enabled;
    replacement->visible = old->visible;
    controls_[id] = replacement;
    std::erase_if(window_->children, [old](const auto& child) { return child.get() == old; });
}

// Scroll bars stay still: no test moves one.
void WizardPage::Create() {
    for (const ControlTemplate& t : template_.controls) {
        auto& control = *window_->children.emplace_back(std::make_unique<NativeWindow>());
        control.kind = t.kind;
        control.id = t.id;
        control.text = t.text;
        control.enabled = (t.style & kDisabled) == 0;
        control.visible = (t.style & kHidden) == 0;
        control.page = window_;
        if (t.id != kStaticId) controls_.emplace(t.id, &control);
    }
    for (const auto& [id, handler] : clickHandlers_)
        if (NativeWindow* c = GetDlgItem(id); c && c->kind != ControlKind::Text && c->kind != ControlKind::Icon)
            c->clicked.push_back(handler);
    created_ = true;
    OnInitDialog();
}

void Control::Enable(bool enabled) { window_->enabled = enabled; }
void Control::Show(bool visible) { window_->visible = visible; }
std::string Edit::Text() const { return Handle()->text; }
void Edit::SetText(const std::string& text) { Handle()->text = text; }
int CheckBox::Check() const { return Handle()->check; }
void CheckBox::SetCheck(int state) { Handle()->check = state; }
// Every range the pages set starts at 0.
void ScrollBar::SetRange(int, int maximum) { Handle()->maximum = maximum; }
int ScrollBar::Maximum() const { return Handle()->maximum; }
void ScrollBar::SetPos(int position) { Handle()->position = position; }
void Static::SetWarningIcon() { Handle()->warningIcon = true; }
// Nothing is painted without a screen: a test reads the picture through Bitmap().
void BitmapStatic::Invalidate() {}

WindowHandle RequireControl(const WizardPage& page, int id, ControlClass kind) {
    switch (kind) {
        case ControlClass::Any: break;
        case ControlClass::Edit: return Require(page, id, {ControlKind::Edit});
        case ControlClass::CheckBox: return Require(page, id, {ControlKind::AutoCheckBox});
        case ControlClass::PushButton: return Require(page, id, {ControlKind::PushButton});
        case ControlClass::ScrollBar: return Require(page, id, {ControlKind::HScrollBar});
        case ControlClass::Static: return Require(page, id, {ControlKind::Text, ControlKind::Icon});
    }
    return Require(page, id, {});
}

void DataExchange::Fail() {
    if (saveAndValidate_ && lastControl_ != nullptr) lastControl_->page->focus = lastControl_;
    throw DataExchangeFailure{};
}

void DDX_Control(DataExchange& dx, int id, BitmapStatic& control) {
    if (control.IsBound()) return;
    NativeWindow* page = dx.Page().Handle();
    NativeWindow* bitmap = page->children.emplace_back(std::make_unique<NativeWindow>()).get();
    bitmap->page = page;
    dx.Page().ReplaceControl(id, bitmap);
    control.Attach(bitmap);
}

bool ShowOpenDialog(WindowHandle, const std::string& filter, const std::string& defaultExtension, std::string& path) {
    return AnswerDialog(defaultExtension + ":" + filter, path);
}

bool ShowFolderDialog(WindowHandle, std::string& folder) { return AnswerDialog("folder", folder); }

// Nothing is dropped without a screen.
void AcceptDroppedFile(WindowHandle, const Edit&) {}

bool RunOnWorkerThread(WindowHandle, const std::function<bool()>& work) { return work(); }

std::intptr_t HtmlHelpA(WindowHandle, const char* file, unsigned command, std::uintptr_t) {
    if (command != kHelpDisplayTopic || file == nullptr) return 0;
    test::World().helpShown.emplace_back(file);
    return 1;
}

// The page rectangle stays null, as nothing is laid out.
int RunBannerWizard(Rect&, const std::vector<WizardPage*>& pages) {
    test::HeadlessSheet sheet(pages);
    if (test::World().wizardScript) test::World().wizardScript(sheet);
    return sheet.Result() != 0 ? sheet.Result() : kWizardCancelled;
}

}  // namespace zentro

namespace zentro::test {

HeadlessWorld& World() {
    static HeadlessWorld world;
    return world;
}

namespace {

bool Reachable(WindowHandle control) {
    if (control->enabled && control->visible) return true;
    ADD_FAILURE() << "control " << control->id << " is disabled or hidden";
    return false;
}

}  // namespace

void Click(WindowHandle control) {
    if (!Reachable(control)) return;
    control->page->focus = control;
    if (control->kind == ControlKind::AutoCheckBox) control->check = control->check == 0 ? 1 : 0;
    for (const auto& handler : control->clicked) handler();
}

void Type(WindowHandle edit, const std::string& text) {
    if (!Reachable(edit)) return;
    edit->page->focus = edit;
    edit->text = text;
}

HeadlessSheet::HeadlessSheet(const std::vector<WizardPage*>& pages) : pages_(pages) {
    for (WizardPage* page : pages_) page->SetParentSheet(*this);
    ActivateFrom(0, 1);
}

int HeadlessSheet::GetPageIndex(const WizardPage* page) const {
    const auto found = std::find(pages_.begin(), pages_.end(), page);
    return found == pages_.end() ? -1 : static_cast<int>(found - pages_.begin());
}

NativeWindow& HeadlessSheet::Control(int id) const {
    if (NativeWindow* control = Active().GetDlgItem(id)) return *control;
    throw std::out_of_range("no control " + std::to_string(id) + " on page " + std::to_string(active_));
}

bool HeadlessSheet::ActivateFrom(int index, int step) {
    for (int i = index; i >= 0 && i < static_cast<int>(pages_.size()); i += step) {
        WizardPage& page = *pages_[i];
        if (!page.IsCreated()) page.Create();
        if (!page.OnSetActive()) continue;
        active_ = i;
        return true;
    }
    return false;
}

void HeadlessSheet::Press(WizardCommand command) {
    const bool finishShown = (buttons_ & (kWizFinish | kWizDisabledFinish)) != 0;
    WizardPage& page = Active();
    switch (command) {
        case WizardCommand::Back:
            if ((buttons_ & kWizBack) && active_ > 0 && page.OnWizardBack() != -1 && page.OnKillActive())
                ActivateFrom(active_ - 1, -1);
            break;
        case WizardCommand::Next:
            if (!finishShown && (buttons_ & kWizNext) && active_ + 1 < static_cast<int>(pages_.size()) &&
                page.OnWizardNext() != -1 && page.OnKillActive())
                ActivateFrom(active_ + 1, 1);
            break;
        case WizardCommand::Finish:
            if ((buttons_ & kWizFinish) && page.OnWizardFinish()) result_ = kWizardFinished;
            break;
        case WizardCommand::Cancel: result_ = kWizardCancelled; break;
        case WizardCommand::Help:
            if (Application* application = Application::Current()) application->OnHelp();
            break;
    }
}

}  // namespace zentro::test
