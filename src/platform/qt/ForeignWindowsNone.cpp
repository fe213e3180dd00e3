// Built when the X11 access to other programs' windows is not part of the
// build: title notices are not available at all.

#include "platform/qt/ForeignWindowsChoice.h"
#include "platform/qt/NoForeignWindows.h"

namespace vantorel::qt {

std::unique_ptr<platform::ForeignWindows> MakeForeignWindows(platform::Diagnostics& diagnostics) {
    diagnostics.warn("this build cannot reach other programs' windows: no title notices are shown");
    return std::make_unique<NoForeignWindows>();
}

}  // namespace vantorel::qt
