#pragma once
// The access to other programs' windows that this session allows: Xlib on
// Qt's own X connection under X11; none elsewhere (Wayland), which standard
// error reports once.

#include <memory>

#include "platform/AppInfo.h"
#include "platform/ForeignWindows.h"

namespace vantorel::qt {

std::unique_ptr<platform::ForeignWindows> MakeForeignWindows(platform::Diagnostics& diagnostics);

}  // namespace vantorel::qt
