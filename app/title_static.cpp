#include "app/title_static.h"

namespace zentro {

CTitleStatic::CTitleStatic() {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Base));
    setPalette(colours);
}

}  // namespace zentro
