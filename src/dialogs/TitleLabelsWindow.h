#pragma once
// The title-bar item settings window: the labels put in front of each
// announced message's subject, sender and date.

#include "dialogs/SmallWindow.h"
#include "platform/Platform.h"
#include "settings/SettingsStore.h"

namespace vantorel {

class TitleLabelsWindow : public SmallWindow {
  public:
    TitleLabelsWindow(platform::Platform& os, SettingsStore& ini);

    void Click(platform::ControlId control) override;

  private:
    void load();
    void accept();

    platform::Platform& os_;
    SettingsStore& ini_;
};

}  // namespace vantorel
