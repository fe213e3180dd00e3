#pragma once
// The icon the generator writes into the executable, from the program's
// icon images.

#include <vector>

#include "platform/win32/rcgen/IconFile.h"

namespace vantorel::win32::rcgen {

// The icon's images, smallest first.
std::vector<IconPixels> ProgramIcon();

}  // namespace vantorel::win32::rcgen
