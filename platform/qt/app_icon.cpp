#include "platform/qt/app_icon.h"

namespace zentro {

QIcon LoadAppIcon() { return QIcon(QStringLiteral(":/icon/128")); }

}  // namespace zentro
