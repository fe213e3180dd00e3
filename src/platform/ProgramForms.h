#pragma once
// The program's windows as layouts: the main window and the small windows,
// each with its menus. Defined by the program (app/), which knows them all;
// declared here for the backends that build every window ahead of time, as
// the Windows resource script does.

#include <vector>

#include "platform/FormLayout.h"

namespace vantorel {

// The main window first.
std::vector<const platform::FormLayout*> ProgramForms();

}  // namespace vantorel
