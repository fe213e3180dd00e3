#pragma once
// The program's one icon: the main window's, the tray's and the version
// window's picture.

#include <QIcon>

namespace vantorel::qt {

QIcon ProgramIcon();

}  // namespace vantorel::qt
