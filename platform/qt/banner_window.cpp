#include "platform/qt/banner_window.h"

#include <QPainter>

namespace zentro {

BannerWindow::BannerWindow() {
    // Painting covers every pixel; erasing first would only flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BannerWindow::paintEvent(QPaintEvent*) {
    const int width = this->width();
    const int height = this->height();
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Light), 0));
    painter.drawLine(0, height - 1, width, height - 1);
    painter.setPen(QPen(palette().color(QPalette::Dark), 0));
    painter.drawLine(0, height - 2, width, height - 2);
    painter.fillRect(0, 0, width, height - 2, palette().color(QPalette::Base));
}

}  // namespace zentro
