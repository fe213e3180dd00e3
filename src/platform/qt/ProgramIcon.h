#pragma once
// The program's one icon as Qt shows it: the main window's, the tray's and
// the version window's picture, made from the program's own icon images.

#include <QIcon>
#include <QImage>

#include "platform/ProgramIconImages.h"

namespace vantorel::qt {

QIcon ProgramIcon();

// One of the program's icon images as a QImage.
QImage IconQImage(const IconImage& image);

}  // namespace vantorel::qt
