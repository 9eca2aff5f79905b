#pragma once
// The controls of a page, as the pages use them: small handles onto the
// platform's own controls, bound to a template's control by DDX_Control
// (data_exchange.h). A handle that is not bound yet must not be used.
#include <string>

#include "platform/window_handle.h"

namespace zentro {

class Control {
public:
    WindowHandle Handle() const { return window_; }
    bool IsBound() const { return window_ != nullptr; }
    // Used by DDX_Control once the control exists.
    void Attach(WindowHandle window) { window_ = window; }

    void Enable(bool enabled);
    void Show(bool visible);

private:
    WindowHandle window_ = nullptr;
};

class Edit : public Control {
public:
    // UTF-8.
    std::string Text() const;
    void SetText(const std::string& text);
};

class CheckBox : public Control {
public:
    // 0 clear, 1 checked, 2 indeterminate.
    int Check() const;
    void SetCheck(int state);
    // As the box reports itself: an indeterminate box counts as checked.
    bool IsChecked() const { return Check() != 0; }
};

class PushButton : public Control {};

// The scroll codes a page's OnHScroll receives, by their platform numbers.
// Windows' headers define the same names as macros of the same numbers; where
// they are seen first, those serve.
#ifndef SB_LINELEFT
enum ScrollCode : int {
    SB_LINELEFT = 0,
    SB_LINERIGHT = 1,
    SB_PAGELEFT = 2,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_LEFT = 6,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8,
};
#endif

// A horizontal scroll bar; what the user does to it reaches the page as
// WizardPage::OnHScroll.
class ScrollBar : public Control {
public:
    // Positions from `minimum` to `maximum`, one step per line and per page.
    void SetRange(int minimum, int maximum);
    int Maximum() const;
    // Moving the thumb from here sends no scroll code.
    void SetPos(int position);
};

// Static text or picture.
class Static : public Control {
public:
    // Shows the system's warning icon, as large as the control allows.
    void SetWarningIcon();
};

}  // namespace zentro
