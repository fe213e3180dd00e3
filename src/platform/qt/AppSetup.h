#pragma once
// What the Qt application needs before the first window: Japanese texts in
// Qt's own dialogs, the program's icon and font, quiet audio warnings, and
// no quitting when the last window closes (the program lives in the tray).

#include <QApplication>

namespace vantorel::qt {

void SetUpApplication(QApplication& app);

}  // namespace vantorel::qt
