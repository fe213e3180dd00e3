#pragma once
// The local time of day from the system.

#include "platform/WallClock.h"

namespace vantorel::win32 {

class Win32Clock : public platform::WallClock {
  public:
    platform::ClockTime now() override;
};

}  // namespace vantorel::win32
