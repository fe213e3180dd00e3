#include "dialogs/SettingsNotSaved.h"

#include <string>

namespace vantorel {

namespace {
constexpr std::string_view kNotSaved = "設定を保存できませんでした。";
}

void ShowSettingsNotSaved(platform::Platform& os, SettingsStore& ini) {
    os.ui.messageBox(std::string(kNotSaved) + "\n" + ini.filePath(), os.app.title(),
                     platform::MessageIcon::Information);
}

}  // namespace vantorel
