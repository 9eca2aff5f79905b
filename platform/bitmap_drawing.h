#pragma once
// A static that shows a bitmap: a 24-bit CDib upright at its top-left corner,
// at most as many rows as the control is high (a taller picture shows its
// bottom rows), and white everywhere else.
#include "platform/controls.h"

namespace zentro {

class CDib;
class DataExchange;

class BitmapStatic : public Control {
public:
    // `picture` is drawn at every repaint, so it must outlive the control or be
    // replaced first; null, or a picture that is not 24-bit, shows white.
    void SetBitmap(const CDib* picture) { picture_ = picture; }
    const CDib* Bitmap() const { return picture_; }
    // Repaints from the bitmap as it is now.
    void Invalidate();

private:
    const CDib* picture_ = nullptr;
};

// Puts a bitmap static in place of the template's control `id` on the first
// exchange: it takes that control's place, visibility, enabled state and id.
void DDX_Control(DataExchange& dx, int id, BitmapStatic& control);

}  // namespace zentro
