#pragma once
// The token command window: the command that prints an OAuth 2.0 access
// token for each login. Empty, logins use the password again.

#include "dialogs/SmallWindow.h"
#include "platform/Platform.h"
#include "settings/SettingsStore.h"

namespace vantorel {

class TokenCommandWindow : public SmallWindow {
  public:
    TokenCommandWindow(platform::Platform& os, SettingsStore& ini);

    void Click(platform::ControlId control) override;

  private:
    void load();
    void accept();

    platform::Platform& os_;
    SettingsStore& ini_;
};

}  // namespace vantorel
