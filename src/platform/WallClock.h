#pragma once
// The local time of day, for telling the user when the mailbox was last
// looked at.

namespace vantorel::platform {

struct ClockTime {
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
};

class WallClock {
  public:
    virtual ~WallClock() = default;

    // The local time now; 00:00 when the system cannot say.
    virtual ClockTime now() = 0;
};

}  // namespace vantorel::platform
