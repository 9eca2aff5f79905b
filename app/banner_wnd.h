#pragma once
// The header strip across the top of the wizard: the window colour with an
// etched line (shadow above highlight) along its bottom edge.
#include <QWidget>

namespace zentro {

class CBannerWnd : public QWidget {
public:
    CBannerWnd();

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace zentro
