#pragma once
// The desktop's own notifications (a pop-up that the desktop shows and
// keeps in its list), for news that cannot be shown in a title bar.

#include <string>

namespace vantorel::platform {

struct DesktopNotice {
    std::string summary;  // one line, UTF-8
    std::string body;     // UTF-8, lines separated by '\n'
};

class DesktopNotifier {
  public:
    virtual ~DesktopNotifier() = default;

    // Shows `notice`. Returns false when the desktop offers no notification
    // service (none running, no icon to attach it to) or refused it;
    // nothing is shown then.
    virtual bool notify(const DesktopNotice& notice) = 0;
};

}  // namespace vantorel::platform
