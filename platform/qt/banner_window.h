#pragma once
// The header strip across the top of the wizard: the window colour with an
// etched line (shadow above highlight) along its bottom edge.
#include <QWidget>

namespace zentro {

class BannerWindow : public QWidget {
public:
    BannerWindow();

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace zentro
