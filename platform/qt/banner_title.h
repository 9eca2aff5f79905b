#pragma once
// The banner's title: a label on the window colour, so it sits on the banner
// without a seam.
#include <QLabel>

namespace zentro {

class BannerTitle : public QLabel {
public:
    BannerTitle();
};

}  // namespace zentro
