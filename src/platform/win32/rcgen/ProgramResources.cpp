#include "platform/win32/rcgen/ProgramResources.h"

#include "app/ProgramIcon.h"
#include "app/SettingsWindowLayout.h"
#include "dialogs/Layouts.h"

namespace vantorel::win32::rcgen {

std::vector<const platform::FormLayout*> ProgramForms() {
    return {&SettingsWindowLayout(), &SoundSettingsLayout(), &TitleLabelsLayout(), &AboutLayout(),
            &TokenCommandLayout()};
}

std::vector<IconPixels> ProgramIcon() {
    std::vector<IconPixels> images;
    for (const IconImage& image : ProgramIconImages()) {
        images.push_back({image.size, image.rgba});
    }
    return images;
}

}  // namespace vantorel::win32::rcgen
