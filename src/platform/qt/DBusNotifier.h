#pragma once
// Desktop notifications through the freedesktop notification service on
// the session bus (org.freedesktop.Notifications), as every Linux desktop
// and notification daemon offers it.

#include <optional>

#include "platform/DesktopNotifier.h"

namespace vantorel::qt {

class DBusNotifier : public platform::DesktopNotifier {
  public:
    // Seconds a notification stays on the screen; the daemon's list keeps
    // it after that.
    static constexpr int kShownMs = 10000;
    // How long a call may wait for the daemon: the tray waits meanwhile.
    static constexpr int kCallTimeoutMs = 3000;

    bool notify(const platform::DesktopNotice& notice) override;

  private:
    // Whether the daemon reads the body as markup; asked once.
    bool BodyIsMarkup();
    std::optional<bool> bodyIsMarkup_;
};

}  // namespace vantorel::qt
