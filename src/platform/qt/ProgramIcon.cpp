#include "platform/qt/ProgramIcon.h"

#include <QImage>
#include <QPixmap>

#include "platform/ProgramIconImages.h"

namespace vantorel::qt {

namespace {
constexpr int kBytesPerPixel = 4;
}  // namespace

QImage IconQImage(const IconImage& image) {
    const QImage view(image.rgba.data(), image.size, image.size, image.size * kBytesPerPixel,
                      QImage::Format_RGBA8888);
    return view.copy();  // the copy owns its pixels
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const IconImage& image : ProgramIconImages()) {
        icon.addPixmap(QPixmap::fromImage(IconQImage(image)));
    }
    return icon;
}

}  // namespace vantorel::qt
