#pragma once
// Icon 128, the program's own: the window icon and the banner's picture.
#include <QIcon>

namespace zentro {

QIcon LoadAppIcon();

}  // namespace zentro
