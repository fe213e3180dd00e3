#pragma once
// What the generator writes into the executable: the program's windows and
// its icon.

#include <vector>

#include "platform/FormLayout.h"
#include "platform/win32/rcgen/IconFile.h"

namespace vantorel::win32::rcgen {

std::vector<const platform::FormLayout*> ProgramForms();

// The icon's images, smallest first.
std::vector<IconPixels> ProgramIcon();

}  // namespace vantorel::win32::rcgen
