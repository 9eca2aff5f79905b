#pragma once
// Data exchange with Qt's own widgets, for code that holds them directly.
#include <QWidget>

#include "platform/data_exchange.h"

namespace zentro {

// Binds `control` to the template's control `id` on the first exchange;
// later exchanges leave it as it is. The control must be of type W.
template <class W>
void DDX_Control(DataExchange& dx, int id, W*& control);

// Puts `replacement` (a widget the page owns, with its own painting or
// behaviour) in place of the template's control `id` on the first exchange:
// it takes that control's geometry, visibility, enabled state and id.
void DDX_Control(DataExchange& dx, int id, QWidget& replacement);

// --- implementation of the template ---
QWidget* BoundControl(DataExchange& dx, int id, const char* expectedType);

template <class W>
void DDX_Control(DataExchange& dx, int id, W*& control) {
    if (control == nullptr) control = static_cast<W*>(BoundControl(dx, id, W::staticMetaObject.className()));
}

}  // namespace zentro
