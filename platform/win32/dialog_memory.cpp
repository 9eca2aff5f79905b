#include "platform/win32/dialog_memory.h"

#include <cstring>

#include "platform/wide_text.h"

namespace zentro {

namespace {

// Predefined window classes, by the ordinals a template names them with.
constexpr std::uint16_t kButtonClass = 0x0080;
constexpr std::uint16_t kEditClass = 0x0081;
constexpr std::uint16_t kStaticClass = 0x0082;
constexpr std::uint16_t kScrollBarClass = 0x0084;

// Appends little-endian words and keeps the whole DWORD-aligned where asked.
class Writer {
public:
    void Word(std::uint16_t value) {
        bytes_.push_back(static_cast<std::uint8_t>(value));
        bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void Dword(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Short(int value) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
    void Byte(std::uint8_t value) { bytes_.push_back(value); }
    void Text(const std::string& utf8) {
        for (const wchar_t unit : WideFromUtf8(utf8, BadUtf8::Replace)) Word(static_cast<std::uint16_t>(unit));
        Word(0);
    }
    void Align() {
        while (bytes_.size() % 4 != 0) bytes_.push_back(0);
    }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

struct ClassAndStyle {
    std::uint16_t windowClass;
    DWORD style;
};

ClassAndStyle ClassOf(ControlKind kind) {
    switch (kind) {
        // Labels show '&' as it is written, as the other platform does.
        case ControlKind::Text: return {kStaticClass, SS_LEFT | SS_NOPREFIX};
        case ControlKind::Icon: return {kStaticClass, SS_ICON | SS_REALSIZECONTROL};
        case ControlKind::Edit: return {kEditClass, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER};
        case ControlKind::PushButton: return {kButtonClass, BS_PUSHBUTTON};
        case ControlKind::AutoCheckBox: return {kButtonClass, BS_AUTOCHECKBOX};
        case ControlKind::HScrollBar: return {kScrollBarClass, SBS_HORZ};
    }
    return {kStaticClass, SS_LEFT};
}

}  // namespace

DialogMemory::DialogMemory(const DialogTemplate& dialog) {
    Writer out;
    out.Word(1);       // dlgVer
    out.Word(0xFFFF);  // signature: extended template
    out.Dword(0);      // helpID
    out.Dword(0);      // exStyle
    out.Dword(WS_CHILD | WS_CAPTION | DS_SETFONT | DS_FIXEDSYS | DS_CONTROL);
    out.Word(static_cast<std::uint16_t>(dialog.controls.size()));
    out.Short(0);
    out.Short(0);
    out.Short(dialog.width);
    out.Short(dialog.height);
    out.Word(0);  // no menu
    out.Word(0);  // the dialog class
    out.Text(dialog.caption);
    out.Word(8);  // points
    out.Word(FW_NORMAL);
    out.Byte(FALSE);  // italic
    out.Byte(DEFAULT_CHARSET);
    out.Text("MS Shell Dlg");
    for (const ControlTemplate& control : dialog.controls) {
        out.Align();
        const ClassAndStyle cls = ClassOf(control.kind);
        DWORD style = WS_CHILD | cls.style;
        if ((control.style & kHidden) == 0) style |= WS_VISIBLE;
        if (control.style & kDisabled) style |= WS_DISABLED;
        if (control.style & kTabStop) style |= WS_TABSTOP;
        out.Dword(0);  // helpID
        out.Dword(0);  // exStyle
        out.Dword(style);
        out.Short(control.x);
        out.Short(control.y);
        out.Short(control.width);
        out.Short(control.height);
        out.Dword(static_cast<std::uint32_t>(control.id));
        out.Word(0xFFFF);
        out.Word(cls.windowClass);
        out.Text(control.kind == ControlKind::Icon ? std::string() : control.text);
        out.Word(0);  // no creation data
    }
    out.Align();
    words_.resize(out.Bytes().size() / sizeof(DWORD));
    std::memcpy(words_.data(), out.Bytes().data(), out.Bytes().size());
}

}  // namespace zentro
