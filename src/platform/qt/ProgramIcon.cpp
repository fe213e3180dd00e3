#include "platform/qt/ProgramIcon.h"

#include <QPixmap>

namespace vantorel::qt {

namespace {
#include "platform/qt/icon/vantorel.xpm"

constexpr int kSmallSize = 16;
}  // namespace

QIcon ProgramIcon() {
    const QPixmap large(vantorel_xpm);
    QIcon icon(large);
    icon.addPixmap(
        large.scaled(kSmallSize, kSmallSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return icon;
}

}  // namespace vantorel::qt
