#pragma once
// The check timer: counts the connected minutes and asks for a mail check
// when the count reaches the check interval.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace vantorel {

// The program's side of the schedule.
class CheckSchedulerHost {
  public:
    virtual ~CheckSchedulerHost() = default;
    // The check interval in minutes as the user typed it (the live box).
    virtual std::string intervalText() = 0;
    // The user paused checking from the tray menu.
    virtual bool paused() = 0;
    // A mail check runs now (its boxes may be open).
    virtual bool checkRunning() = 0;
    // The interval is up: a check is due.
    virtual void checkDue() = 0;
};

class CheckScheduler {
  public:
    static constexpr std::uint32_t kCheckTimerPeriodMs = 60000;

    // Creates the check timer, switched off.
    CheckScheduler(platform::Platform& os, CheckSchedulerHost& host);

    // One tick of the check timer.
    void onMinute();

    // Switches periodic checking on again, unless the user paused it.
    void resume();
    void setEnabled(bool on) { timer_->setEnabled(on); }
    bool enabled() { return timer_->enabled(); }
    platform::Timer& timer() { return *timer_; }

    // Connected minutes since the last check (16-bit, saturating).
    std::int16_t minutes() const { return minutes_; }
    // Sets the count: 0 waits a whole interval, the interval checks at the
    // next tick.
    void setMinutes(std::int16_t minutes) { minutes_ = minutes; }

  private:
    platform::Platform& os_;
    CheckSchedulerHost& host_;
    std::unique_ptr<platform::Timer> timer_;
    std::int16_t minutes_ = 0;
};

}  // namespace vantorel
