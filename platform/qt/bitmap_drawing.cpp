#include "platform/bitmap_drawing.h"

#include <QPainter>
#include <QWidget>

#include "platform/qt/data_exchange.h"
#include "platform/qt/dib_drawing.h"
#include "platform/qt/window_handle.h"

namespace zentro {

namespace {

class BitmapWidget : public QWidget {
public:
    explicit BitmapWidget(const BitmapStatic& control) : control_(control) {
        // Painting covers every pixel, so erasing first would only make it flicker.
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAutoFillBackground(false);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect client = rect();
        const CDib* picture = control_.Bitmap();
        const QSize drawn = picture != nullptr ? DrawDib(painter, *picture, client.height()) : QSize(0, 0);
        // Right of the picture, then below it.
        const QRect right(drawn.width(), 0, client.width() - drawn.width(), client.height());
        const QRect below(0, drawn.height(), drawn.width(), client.height() - drawn.height());
        for (const QRect& white : {right, below})
            if (!white.isEmpty()) painter.fillRect(white, Qt::white);
    }

private:
    const BitmapStatic& control_;
};

}  // namespace

void BitmapStatic::Invalidate() {
    if (IsBound()) AsWidget(Handle())->update();
}

void DDX_Control(DataExchange& dx, int id, BitmapStatic& control) {
    if (control.IsBound()) return;
    // The page's window owns the widget from here on.
    auto* widget = new BitmapWidget(control);
    DDX_Control(dx, id, *widget);
    control.Attach(HandleOf(widget));
}

}  // namespace zentro
