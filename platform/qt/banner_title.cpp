#include "platform/qt/banner_title.h"

namespace zentro {

BannerTitle::BannerTitle() {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Base));
    setPalette(colours);
}

}  // namespace zentro
