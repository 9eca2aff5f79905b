#include "platform/data_exchange.h"

namespace zentro {

namespace {

void Bind(DataExchange& dx, int id, Control& control, ControlClass kind) {
    if (!control.IsBound()) control.Attach(RequireControl(dx.Page(), id, kind));
}

}  // namespace

WindowHandle DataExchange::PrepareControl(int id) {
    lastControl_ = RequireControl(page_, id, ControlClass::Any);
    return lastControl_;
}

void DDX_Check(DataExchange& dx, int id, int& value) {
    CheckBox box;
    box.Attach(RequireControl(dx.Page(), id, ControlClass::CheckBox));
    dx.PrepareControl(id);
    if (dx.SaveAndValidate()) {
        value = box.Check();
        return;
    }
    if (value < 0 || value > 2) value = 0;
    box.SetCheck(value);
}

void DDX_Text(DataExchange& dx, int id, std::string& value) {
    Edit edit;
    edit.Attach(RequireControl(dx.Page(), id, ControlClass::Edit));
    dx.PrepareControl(id);
    if (dx.SaveAndValidate())
        value = edit.Text();
    else
        edit.SetText(value);
}

void DDX_Control(DataExchange& dx, int id, Edit& control) { Bind(dx, id, control, ControlClass::Edit); }
void DDX_Control(DataExchange& dx, int id, CheckBox& control) { Bind(dx, id, control, ControlClass::CheckBox); }
void DDX_Control(DataExchange& dx, int id, PushButton& control) { Bind(dx, id, control, ControlClass::PushButton); }
void DDX_Control(DataExchange& dx, int id, ScrollBar& control) { Bind(dx, id, control, ControlClass::ScrollBar); }
void DDX_Control(DataExchange& dx, int id, Static& control) { Bind(dx, id, control, ControlClass::Static); }

}  // namespace zentro
