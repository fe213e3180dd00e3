#include "platform/posix/LocalClock.h"

#include <ctime>

namespace vantorel::posix {

platform::ClockTime LocalClock::now() {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    // localtime_r: the program's other threads may ask for the time too.
    if (seconds == static_cast<std::time_t>(-1) || localtime_r(&seconds, &local) == nullptr) {
        return {};
    }
    return {local.tm_hour, local.tm_min};
}

}  // namespace vantorel::posix
