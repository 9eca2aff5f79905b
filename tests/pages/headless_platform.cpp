#include "headless_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "platform/application.h"
#include "platform/bitmap_drawing.h"
#include "platform/controls.h"
#include "platform/data_exchange.h"
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
    if (control == nullptr ||
        (kinds.size() != 0 && std::find(kinds.begin(), kinds.end(), control->kind) == kinds.end())) {
        std::fprintf(stderr, "page %d has no control %d of the kind asked for\n", page.Template().id, id);
        std::abort();
    }
    return control;
}

void Bind(DataExchange& dx, int id, Control& control, std::initializer_list<ControlKind> kinds) {
    if (!control.IsBound()) control.Attach(Require(dx.Page(), id, kinds));
}

}  // namespace

WizardPage::WizardPage(DialogTemplate dialog) : template_(std::move(dialog)), window_(new NativeWindow) {}

WizardPage::~WizardPage() { delete window_; }

void WizardPage::MoveWindow(const Rect& where) { window_->place = where; }

void WizardPage::ReplaceControl(int id, WindowHandle replacement) {
    NativeWindow* old = Require(*this, id, {});
    replacement->id = id;
    replacement->place = old->place;
    replacement->enabled = old->enabled;
    replacement->visible = old->visible;
    controls_[id] = replacement;
    std::erase_if(window_->children, [old](const auto& child) { return child.get() == old; });
}

void WizardPage::Create() {
    for (const ControlTemplate& t : template_.controls) {
        auto control = std::make_unique<NativeWindow>();
        control->kind = t.kind;
        control->id = t.id;
        control->text = t.text;
        control->enabled = (t.style & kDisabled) == 0;
        control->visible = (t.style & kHidden) == 0;
        control->tabStop = (t.style & kTabStop) != 0 && t.kind != ControlKind::Text && t.kind != ControlKind::Icon;
        control->place = {t.x, t.y, t.width, t.height};
        control->page = window_;
        if (t.kind == ControlKind::HScrollBar)
            control->scrolled = [this](int code, int position) { OnHScroll(code, position); };
        if (t.id != kStaticId) controls_.emplace(t.id, control.get());
        window_->children.push_back(std::move(control));
    }
    for (const auto& [id, handler] : clickHandlers_)
        if (NativeWindow* c = GetDlgItem(id);
            c && (c->kind == ControlKind::PushButton || c->kind == ControlKind::AutoCheckBox))
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
int ScrollBar::Maximum() const { return Handle()->maximum; }
void Static::SetWarningIcon() { Handle()->warningIcon = true; }
// Nothing is painted without a screen: a test reads the picture through Bitmap().
void BitmapStatic::Invalidate() {}

void ScrollBar::SetRange(int minimum, int maximum) {
    Handle()->minimum = minimum;
    Handle()->maximum = maximum;
    SetPos(Handle()->position);
}

void ScrollBar::SetPos(int position) {
    Handle()->position = std::clamp(position, Handle()->minimum, std::max(Handle()->minimum, Handle()->maximum));
}

WindowHandle DataExchange::PrepareControl(int id) { return lastControl_ = Require(page_, id, {}); }

void DataExchange::Fail() {
    if (saveAndValidate_ && lastControl_ != nullptr) lastControl_->page->focus = lastControl_;
    throw DataExchangeFailure{};
}

void DDX_Check(DataExchange& dx, int id, int& value) {
    NativeWindow* box = Require(dx.Page(), id, {ControlKind::AutoCheckBox});
    dx.PrepareControl(id);
    if (dx.SaveAndValidate()) {
        value = box->check;
        return;
    }
    if (value < 0 || value > 2) value = 0;
    box->check = value;
}

void DDX_Text(DataExchange& dx, int id, std::string& value) {
    NativeWindow* edit = Require(dx.Page(), id, {ControlKind::Edit});
    dx.PrepareControl(id);
    if (dx.SaveAndValidate())
        value = edit->text;
    else
        edit->text = value;
}

void DDX_Control(DataExchange& dx, int id, Edit& control) { Bind(dx, id, control, {ControlKind::Edit}); }
void DDX_Control(DataExchange& dx, int id, CheckBox& control) { Bind(dx, id, control, {ControlKind::AutoCheckBox}); }
void DDX_Control(DataExchange& dx, int id, PushButton& control) { Bind(dx, id, control, {ControlKind::PushButton}); }
void DDX_Control(DataExchange& dx, int id, ScrollBar& control) { Bind(dx, id, control, {ControlKind::HScrollBar}); }
void DDX_Control(DataExchange& dx, int id, Static& control) {
    Bind(dx, id, control, {ControlKind::Text, ControlKind::Icon});
}

void DDX_Control(DataExchange& dx, int id, BitmapStatic& control) {
    if (control.IsBound()) return;
    NativeWindow* page = dx.Page().Handle();
    page->children.push_back(std::make_unique<NativeWindow>());
    page->children.back()->page = page;
    dx.Page().ReplaceControl(id, page->children.back().get());
    control.Attach(page->children.back().get());
}

namespace {

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

bool ShowOpenDialog(WindowHandle, const std::string& filter, const std::string& defaultExtension, std::string& path) {
    return AnswerDialog(defaultExtension + ":" + filter, path);
}

bool ShowFolderDialog(WindowHandle, std::string& folder) { return AnswerDialog("folder", folder); }

void AcceptDroppedFile(WindowHandle area, const Edit& edit) {
    area->dropEdit = edit.Handle()->dropEdit = edit.Handle();
}

bool RunOnWorkerThread(WindowHandle, const std::function<bool()>& work) { return work(); }

std::intptr_t HtmlHelpA(WindowHandle, const char* file, unsigned command, std::uintptr_t) {
    if (command != kHelpDisplayTopic || file == nullptr) return 0;
    test::World().helpShown.emplace_back(file);
    return 1;
}

int RunBannerWizard(Rect& pageRect, const std::vector<WizardPage*>& pages) {
    // Laid out like the sheet on a screen: the pages' place is as large as the largest page.
    for (const WizardPage* page : pages) {
        pageRect.width = std::max(pageRect.width, page->Template().width);
        pageRect.height = std::max(pageRect.height, page->Template().height);
    }
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
    if (control != nullptr && control->enabled && control->visible) return true;
    ADD_FAILURE() << "control " << (control ? control->id : 0) << " is missing, disabled or hidden";
    return false;
}

}  // namespace

void Click(WindowHandle control) {
    if (!Reachable(control)) return;
    control->page->focus = control;
    if (control->kind == ControlKind::AutoCheckBox) control->check = control->check == 0 ? 1 : 0;
    // A handler may replace the list (a page reloading); call from a copy.
    const std::vector<std::function<void()>> handlers = control->clicked;
    for (const auto& handler : handlers) handler();
}

void Type(WindowHandle edit, const std::string& text) {
    if (!Reachable(edit)) return;
    edit->page->focus = edit;
    edit->text = text;
}

bool Drop(WindowHandle window, const std::string& path) {
    if (window->dropEdit == nullptr) return false;
    Type(window->dropEdit, path);
    return true;
}

HeadlessSheet::HeadlessSheet(const std::vector<WizardPage*>& pages) : pages_(pages) {
    for (WizardPage* page : pages_) page->SetParentSheet(*this);
    ActivateFrom(0, 1);
}

int HeadlessSheet::GetPageIndex(const WizardPage* page) const {
    const auto found = std::find(pages_.begin(), pages_.end(), page);
    return found == pages_.end() ? -1 : static_cast<int>(found - pages_.begin());
}

NativeWindow& HeadlessSheet::Control(int id) const { return *Require(Active(), id, {}); }

bool HeadlessSheet::ActivateFrom(int index, int step) {
    for (int i = index; i >= 0 && i < static_cast<int>(pages_.size()); i += step) {
        WizardPage& page = *pages_[i];
        if (!page.IsCreated()) page.Create();
        if (!page.OnSetActive()) continue;
        active_ = i;
        NativeWindow* window = page.Handle();
        const auto first = std::find_if(window->children.begin(), window->children.end(),
                                        [](const auto& c) { return c->tabStop && c->enabled && c->visible; });
        window->focus = first == window->children.end() ? nullptr : first->get();
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
