#pragma once
// The sound settings window: the sound effect on or off, and the WAV file
// played at each announcement.

#include <functional>
#include <memory>
#include <string>

#include "dialogs/SmallWindow.h"
#include "platform/FileDialog.h"
#include "platform/Platform.h"
#include "settings/SettingsStore.h"

namespace vantorel {

class SoundSettingsWindow : public SmallWindow {
  public:
    // Runs once the choice is saved: the sound on or off, and its file.
    using SoundChosen = std::function<void(bool on, const std::string& path)>;

    SoundSettingsWindow(platform::Platform& os, SettingsStore& ini, SoundChosen soundChosen);

    void Click(platform::ControlId control) override;
    void CheckBoxClick(platform::ControlId control) override;

  private:
    void load();
    void applySoundCheckBox();
    void browse();
    void accept();

    platform::Platform& os_;
    SettingsStore& ini_;
    SoundChosen soundChosen_;
    // The window's own file dialog: it remembers the last file chosen while
    // this window is open.
    std::unique_ptr<platform::FileDialog> fileDialog_;
};

}  // namespace vantorel
