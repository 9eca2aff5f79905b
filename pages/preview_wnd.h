#pragma once
// The picture on the Preview page: one image of the icon composited on white,
// drawn at the top-left corner with white everywhere else.
#include "image/dib.h"
#include "platform/bitmap_drawing.h"

namespace zentro {

class CPreviewWnd : public BitmapStatic {
public:
    CPreviewWnd() { SetBitmap(&previewBitmap_); }
    CPreviewWnd(const CPreviewWnd&) = delete;
    CPreviewWnd& operator=(const CPreviewWnd&) = delete;

    // Index into the entry list of the image shown; set before the first Refresh.
    int position = 0;

    // Composites the entry at `position` and repaints.
    void Refresh();

    const CDib& PreviewBitmap() const { return previewBitmap_; }

private:
    CDib previewBitmap_;
};

}  // namespace zentro
