#pragma once
// The picture on the Preview page: one image of the icon composited on white,
// drawn at the top-left corner with white everywhere else.
#include <QWidget>

#include "image/dib.h"

namespace zentro {

class CPreviewWnd : public QWidget {
public:
    CPreviewWnd();

    // Index into the entry list of the image shown; set before the first Refresh.
    int position = 0;

    // Composites the entry at `position` and repaints.
    void Refresh();

    const CDib& PreviewBitmap() const { return previewBitmap_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CDib previewBitmap_;
};

}  // namespace zentro
