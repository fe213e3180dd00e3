// The check timer: counts the connected minutes and starts a mail check
// when the count reaches the check interval.

#include "mail/CheckScheduler.h"

#include "settings/Count16.h"
#include "text/NumberText.h"

namespace vantorel {

namespace {

constexpr std::uint32_t kConnectedFlags = platform::ConnectionState::kModem |
                                          platform::ConnectionState::kLan |
                                          platform::ConnectionState::kProxy;
// An interval of 0 or below checks at every connected tick, as 1 does.
constexpr std::int32_t kShortestInterval = 1;

}  // namespace

CheckScheduler::CheckScheduler(platform::Platform& os, CheckSchedulerHost& host)
    : os_(os), host_(host), timer_(os.ui.createTimer("check timer", [this] { onMinute(); })) {
    timer_->setInterval(kCheckTimerPeriodMs);
}

void CheckScheduler::onMinute() {
    // The running check switches the timer on again when it ends; a tick
    // now must neither count nor switch it off.
    if (host_.checkRunning()) {
        return;
    }
    if (minutes_ < kInt16Max) {
        minutes_ = static_cast<std::int16_t>(minutes_ + 1);
    }
    if ((os_.connection.connectedState() & kConnectedFlags) == 0) {
        minutes_ = 0;  // no check is tried offline
        return;
    }
    // The box is the live value. It is read as the OK button reads it, so
    // that a text such as "3分" never stops the tick.
    const std::int32_t interval =
        text::ToClampedInt(text::LeadingNumber(host_.intervalText()), kShortestInterval, kInt16Max);
    if (minutes_ < interval) {
        return;
    }
    minutes_ = 0;
    timer_->setEnabled(false);
    host_.checkDue();
}

void CheckScheduler::resume() {
    // A pause chosen from the tray menu holds until the user clears its
    // mark; nothing else switches periodic checking back on meanwhile.
    if (!host_.paused()) {
        timer_->setEnabled(true);
    }
}

}  // namespace vantorel
