#include "platform/win32/rcgen/ProgramResources.h"

#include "app/StartUpFormLayout.h"

namespace vantorel::win32::rcgen {

std::vector<const platform::FormLayout*> ProgramForms() {
    return {&StartUpFormLayout()};
}

std::vector<IconPixels> ProgramIcon() {
    return {};
}

}  // namespace vantorel::win32::rcgen
