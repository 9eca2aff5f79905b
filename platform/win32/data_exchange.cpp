#include "platform/data_exchange.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "platform/win32/window_handle.h"
#include "platform/wizard_page.h"

namespace zentro {

namespace {

bool IsClass(HWND control, const wchar_t* name) {
    wchar_t found[32] = {};
    ::GetClassNameW(control, found, 32);
    return ::_wcsicmp(found, name) == 0;
}

LONG_PTR ButtonType(HWND control) { return ::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK; }

bool IsOfClass(HWND control, ControlClass kind) {
    switch (kind) {
        case ControlClass::Any: return true;
        case ControlClass::Edit: return IsClass(control, L"Edit");
        case ControlClass::CheckBox:
            return IsClass(control, L"Button") &&
                   (ButtonType(control) == BS_AUTOCHECKBOX || ButtonType(control) == BS_CHECKBOX ||
                    ButtonType(control) == BS_AUTO3STATE);
        case ControlClass::PushButton:
            return IsClass(control, L"Button") &&
                   (ButtonType(control) == BS_PUSHBUTTON || ButtonType(control) == BS_DEFPUSHBUTTON);
        case ControlClass::ScrollBar: return IsClass(control, L"ScrollBar");
        case ControlClass::Static: return IsClass(control, L"Static");
    }
    return false;
}

}  // namespace

WindowHandle RequireControl(const WizardPage& page, int id, ControlClass kind) {
    const HWND control = AsHwnd(page.GetDlgItem(id));
    if (control == nullptr || !IsOfClass(control, kind)) {
        std::fprintf(stderr, "page %d has no control of class %d with id %d\n", page.Template().id,
                     static_cast<int>(kind), id);
        std::abort();
    }
    return HandleOf(control);
}

void DataExchange::Fail() {
    if (saveAndValidate_ && lastControl_ != nullptr) {
        const HWND control = AsHwnd(lastControl_);
        ::SetFocus(control);
        if (IsClass(control, L"Edit")) ::SendMessageW(control, EM_SETSEL, 0, -1);
    }
    throw DataExchangeFailure{};
}

}  // namespace zentro
