#pragma once
// The banner's title: a label on the window colour, so it sits on the banner
// without a seam.
#include <QLabel>

namespace zentro {

class CTitleStatic : public QLabel {
public:
    CTitleStatic();
};

}  // namespace zentro
