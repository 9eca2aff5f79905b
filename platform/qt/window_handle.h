#pragma once
// The Qt side of the platform's handles: a WindowHandle is a QWidget.
#include <QRect>
#include <QWidget>

#include "platform/rect.h"
#include "platform/window_handle.h"

namespace zentro {

inline QWidget* AsWidget(WindowHandle window) { return reinterpret_cast<QWidget*>(window); }
inline WindowHandle HandleOf(QWidget* widget) { return reinterpret_cast<WindowHandle>(widget); }

inline QRect ToQRect(const Rect& rect) { return {rect.left, rect.top, rect.width, rect.height}; }
inline Rect ToRect(const QRect& rect) { return {rect.left(), rect.top(), rect.width(), rect.height()}; }

}  // namespace zentro
