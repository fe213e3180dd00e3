#pragma once
// A window's program side that writes down every event it receives.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>
#include <string>
#include <vector>

#include "platform/WindowFramework.h"

namespace vantorel::qt::test {

class RecordingEvents : public platform::FormEvents {
  public:
    void Click(platform::ControlId control) override {
        log.push_back("Click " + std::to_string(control));
        if (onClick) {
            onClick(control);
        }
    }
    void CheckBoxClick(platform::ControlId control) override {
        log.push_back("CheckBoxClick " + std::to_string(control));
    }
    void CloseRequested(platform::CloseReason reason) override {
        log.push_back(reason == platform::CloseReason::CloseBox ? "CloseRequested CloseBox"
                                                                : "CloseRequested SessionEnd");
        if (onClose) {
            onClose();
        }
    }
    void TrayActivated(platform::TrayAction action) override {
        log.push_back(action == platform::TrayAction::DoubleClicked
                          ? "TrayActivated DoubleClicked"
                          : "TrayActivated MenuRequested");
        if (onTrayAction) {
            onTrayAction(action);
        }
    }

    std::vector<std::string> log;
    std::function<void(platform::ControlId)> onClick;
    std::function<void()> onClose;
    std::function<void(platform::TrayAction)> onTrayAction;
};

// Runs the event loop until `done` holds or `timeoutMs` has passed.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        // Outside a running event loop, deferred deletions wait for this.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

}  // namespace vantorel::qt::test
