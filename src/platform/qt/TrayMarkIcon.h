#pragma once
// The program's tray icon with the mark of its state painted over it.

#include <QIcon>

#include "platform/TrayShell.h"

namespace vantorel::qt {

// `base` with `mark` painted in its lower right corner at every size a tray
// asks for: a red badge with the count for new mail, a red badge with an
// exclamation mark for a failed check, a grey badge with two bars over a
// greyed icon for a pause. No mark gives `base` itself.
QIcon MarkedIcon(const QIcon& base, const platform::TrayMark& mark);

}  // namespace vantorel::qt
