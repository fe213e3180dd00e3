#pragma once
// The version window: the program's name and version, and OK.

#include <string>

#include "dialogs/SmallWindow.h"
#include "platform/Platform.h"

namespace vantorel {

class AboutWindow : public SmallWindow {
  public:
    // `productName` is the name the window shows under its caption.
    AboutWindow(platform::Platform& os, std::string productName);

    void Click(platform::ControlId control) override;

  private:
    void load();

    platform::Platform& os_;
    std::string productName_;
};

}  // namespace vantorel
