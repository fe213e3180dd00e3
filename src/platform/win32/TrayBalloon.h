#pragma once
// Desktop notifications as balloons of the program's tray icon, which
// Windows 10 and 11 show as their own notifications.

#include "platform/DesktopNotifier.h"
#include "platform/win32/ShellTray.h"

namespace vantorel::win32 {

class TrayBalloon : public platform::DesktopNotifier {
  public:
    explicit TrayBalloon(ShellTray& tray) : tray_(tray) {}
    bool notify(const platform::DesktopNotice& notice) override {
        return tray_.balloon(notice.summary, notice.body);
    }

  private:
    ShellTray& tray_;
};

}  // namespace vantorel::win32
