#pragma once
// The message shown when a window's OK could not write the settings file.

#include "platform/Platform.h"
#include "settings/SettingsStore.h"

namespace vantorel {

// "設定を保存できませんでした。" and, on the next line, the settings file's
// path, so that the user can see which file is write-protected.
void ShowSettingsNotSaved(platform::Platform& os, SettingsStore& ini);

}  // namespace vantorel
