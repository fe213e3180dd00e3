#pragma once
// The version window: the program's name and version, and OK.

#include "dialogs/SmallWindow.h"
#include "platform/Platform.h"

namespace vantorel {

class frmAbout : public SmallWindow {
  public:
    explicit frmAbout(platform::Platform& os);

    void Click(platform::ControlId control) override;

  private:
    void Form_Load();

    platform::Platform& os_;
};

}  // namespace vantorel
