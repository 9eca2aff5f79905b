#pragma once
// A page's layout as data: every control with its id, text and place in dialog
// units, as the resource compiler would have it. WizardPage creates the widgets
// from it when the page is first shown.
#include <string>
#include <vector>

namespace zentro {

// Id shared by every control that nobody addresses (labels, the banner's parts).
constexpr int kStaticId = 0xFFFF;

enum class ControlKind {
    Text,  // static text, wrapped like a left-aligned label
    Icon,  // static showing an icon
    Edit,  // single-line edit, bordered, scrolling horizontally
    PushButton,
    AutoCheckBox,
    HScrollBar,
};

// Style bits of a control; visible and enabled unless stated.
enum ControlStyle : unsigned {
    kPlain = 0,
    kHidden = 1u << 0,
    kDisabled = 1u << 1,
    kTabStop = 1u << 2,
};

struct ControlTemplate {
    ControlKind kind;
    int id;
    std::string text;         // UTF-8; '&' marks the mnemonic of buttons and boxes
    int x, y, width, height;  // dialog units
    unsigned style = kPlain;
};

struct DialogTemplate {
    int id;
    std::string caption;  // UTF-8; becomes the wizard's window title
    int width, height;    // dialog units
    std::vector<ControlTemplate> controls;
};

}  // namespace zentro
