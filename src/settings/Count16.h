#pragma once
// The program's counts (minutes, messages, positions in the display cycle)
// are 16-bit numbers that never wrap around: leaving the range is a
// run-time failure.

#include <cstdint>

namespace vantorel {

constexpr std::int32_t kInt16Min = -32768;
constexpr std::int32_t kInt16Max = 32767;

// The nearest whole number to `value` (halves to the even neighbour) as a
// 16-bit count. Throws RuntimeFailure when it lies outside -32768..32767.
std::int16_t ToInt16(double value);

// 16-bit count arithmetic: throws RuntimeFailure when the result leaves the
// 16-bit range.
std::int16_t Add16(std::int32_t a, std::int32_t b);
std::int16_t Sub16(std::int32_t a, std::int32_t b);

}  // namespace vantorel
