#include "platform/ProgramForms.h"

#include "app/SettingsWindowLayout.h"
#include "dialogs/Layouts.h"

namespace vantorel {

std::vector<const platform::FormLayout*> ProgramForms() {
    return {&SettingsWindowLayout(), &SoundSettingsLayout(), &TitleLabelsLayout(), &AboutLayout(),
            &TokenCommandLayout()};
}

}  // namespace vantorel
