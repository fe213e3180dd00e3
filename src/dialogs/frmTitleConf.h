#pragma once
// The title-bar item settings window: the labels put in front of each
// announced message's subject, sender and date.

#include "dialogs/SmallWindow.h"
#include "platform/Platform.h"
#include "settings/SettingsStore.h"

namespace vantorel {

class frmTitleConf : public SmallWindow {
  public:
    frmTitleConf(platform::Platform& os, SettingsStore& ini);

    void Click(platform::ControlId control) override;

  private:
    void Form_Load();
    void Command1_Click();  // OK

    platform::Platform& os_;
    SettingsStore& ini_;
};

}  // namespace vantorel
