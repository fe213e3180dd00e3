#pragma once
// Numbers and Booleans held as text: the settings file and the input boxes
// hold every value as text, and the program reads numbers and Booleans out
// of it by these rules.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantorel::text {

// The number at the start of `text`: leading blanks skipped, an optional
// sign, digits, a decimal point and an exponent; reading stops at the first
// character that cannot continue the number. No number reads as 0.
double LeadingNumber(std::string_view text);

// The nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// RoundHalfEven(value) clamped to lo..hi.
std::int32_t ToClampedInt(double value, std::int32_t lo, std::int32_t hi);

// Text-to-Boolean conversion: "True"/"False" in any letter case, or a whole
// number text (0 is false, any other number true), blanks around it allowed.
// nullopt for any other text.
std::optional<bool> TextToBoolean(std::string_view text);

// The text form of a Boolean: "True" or "False".
std::string BooleanText(bool value);

// A count in plain decimal, a minus sign for a negative one.
std::string DecimalText(std::int64_t value);

}  // namespace vantorel::text
