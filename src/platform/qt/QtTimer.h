#pragma once
// A timer of the window framework on a QTimer. A period of 0 gives no ticks
// (the QTimer is not started then), and enabling a running timer changes
// nothing, so its count is not restarted.

#include <QTimer>
#include <functional>

#include "platform/WindowFramework.h"

namespace vantorel::qt {

class QtTimer : public platform::Timer {
  public:
    // `onTick` runs at each period while the timer is enabled.
    explicit QtTimer(std::function<void()> onTick);

    void setInterval(std::uint32_t milliseconds) override;
    std::uint32_t interval() override { return interval_; }
    void setEnabled(bool enabled) override;
    bool enabled() override { return enabled_; }

    // True while the QTimer runs (enabled with a period above 0).
    bool ticking() const { return timer_.isActive(); }

  private:
    void apply();

    QTimer timer_;
    std::uint32_t interval_ = 0;
    bool enabled_ = false;
};

}  // namespace vantorel::qt
