#include "pages/preview_wnd.h"

#include <QPainter>

#include "app/bmp_icon_app.h"
#include "platform/qt/dib_drawing.h"

namespace zentro {

CPreviewWnd::CPreviewWnd() {
    // Painting covers every pixel, so erasing first would only make it flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

void CPreviewWnd::Refresh() {
    const ImageStore& store = CBmpIconApp::Get().store;
    if (position >= 0 && static_cast<std::size_t>(position) < store.entries.size()) {
        const std::uint8_t code = store.entries[position];
        // A preview that cannot be made leaves no picture, and the area shows white.
        store.EntryImage(code).ComposePreview(previewBitmap_, store.EntryMask(code));
    } else {
        previewBitmap_.Free();
    }
    update();
}

void CPreviewWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect client = rect();
    const QSize drawn = DrawDib(painter, previewBitmap_, client.height());
    // Right of the picture, then below it.
    const QRect right(drawn.width(), 0, client.width() - drawn.width(), client.height());
    const QRect below(0, drawn.height(), drawn.width(), client.height() - drawn.height());
    for (const QRect& white : {right, below})
        if (!white.isEmpty()) painter.fillRect(white, Qt::white);
}

}  // namespace zentro
