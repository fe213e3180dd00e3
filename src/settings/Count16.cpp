#include "settings/Count16.h"

#include <string>

#include "platform/RuntimeFailure.h"
#include "text/NumberText.h"

namespace vantorel {

namespace {

std::int16_t CheckedInt16(std::int64_t value) {
    if (value < kInt16Min || value > kInt16Max) {
        throw RuntimeFailure("overflow: " + std::to_string(value) + " is not a 16-bit count");
    }
    return static_cast<std::int16_t>(value);
}

}  // namespace

std::int16_t ToInt16(double value) {
    const double rounded = text::RoundHalfEven(value);
    if (!(rounded >= kInt16Min && rounded <= kInt16Max)) {
        throw RuntimeFailure("overflow: the number is not a 16-bit count");
    }
    return static_cast<std::int16_t>(rounded);
}

std::int16_t Add16(std::int32_t a, std::int32_t b) {
    return CheckedInt16(static_cast<std::int64_t>(a) + b);
}

std::int16_t Sub16(std::int32_t a, std::int32_t b) {
    return CheckedInt16(static_cast<std::int64_t>(a) - b);
}

}  // namespace vantorel
