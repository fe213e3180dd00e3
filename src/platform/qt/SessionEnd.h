#pragma once
// The end of the user's session reaches the program's windows as a close
// request (CloseReason::SessionEnd): from the session manager, and from
// SIGTERM, SIGHUP and SIGINT, which is how a session without one ends a
// program.

#include <QSocketNotifier>
#include <memory>

namespace vantorel::qt {

class QtWindowFramework;

class SessionEnd {
  public:
    explicit SessionEnd(QtWindowFramework& ui);
    ~SessionEnd();
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

  private:
    QtWindowFramework& ui_;
    std::unique_ptr<QSocketNotifier> notifier_;
    int requests_ = 0;
};

}  // namespace vantorel::qt
