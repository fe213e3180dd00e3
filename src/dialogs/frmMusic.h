#pragma once
// The sound settings window: the sound effect on or off, and the WAV file
// played at each announcement.

#include <memory>

#include "dialogs/SmallWindow.h"
#include "platform/FileDialog.h"

namespace vantorel {

class StartUpForm;

class frmMusic : public SmallWindow {
  public:
    explicit frmMusic(StartUpForm& main);

    void Click(platform::ControlId control) override;
    void CheckBoxClick(platform::ControlId control) override;

  private:
    void Form_Load();
    void chkMusic_Click();
    void cmdShowDialog_Click();
    void cmdOK_Click();

    StartUpForm& main_;
    // The window's own file dialog: it remembers the last file chosen while
    // this window is open.
    std::unique_ptr<platform::FileDialog> CMD1;
};

}  // namespace vantorel
