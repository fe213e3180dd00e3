#pragma once
// The local time of day from the C library.

#include "platform/WallClock.h"

namespace vantorel::posix {

class LocalClock : public platform::WallClock {
  public:
    platform::ClockTime now() override;
};

}  // namespace vantorel::posix
