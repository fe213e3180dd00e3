#include "platform/qt/QtTimer.h"

#include <limits>

namespace vantorel::qt {

namespace {
// QTimer takes an int of milliseconds.
constexpr std::uint32_t kLongestPeriodMs = std::numeric_limits<int>::max();
}  // namespace

QtTimer::QtTimer(std::function<void()> onTick) {
    timer_.setTimerType(Qt::CoarseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [tick = std::move(onTick)] { tick(); });
}

void QtTimer::setInterval(std::uint32_t milliseconds) {
    if (milliseconds == interval_ && timer_.isActive()) {
        return;
    }
    interval_ = milliseconds;
    // A new period starts a full period from now, as on the platform the
    // program was made for.
    timer_.stop();
    apply();
}

void QtTimer::setEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    apply();
}

void QtTimer::apply() {
    if (!enabled_ || interval_ == 0) {
        timer_.stop();
        return;
    }
    if (!timer_.isActive()) {
        timer_.start(static_cast<int>(interval_ < kLongestPeriodMs ? interval_ : kLongestPeriodMs));
    }
}

}  // namespace vantorel::qt
