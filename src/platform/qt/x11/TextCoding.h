#pragma once
// The text conversions between the program's UTF-8 and the encodings X
// titles come in: Latin-1 STRING and, as a last resort, bare compound text.

#include <optional>
#include <string>
#include <string_view>

namespace vantorel::x11 {

// ICCCM's STRING type is Latin-1.
std::string Latin1ToUtf8(std::string_view latin1);

// The text in Latin-1, or nothing when a character lies outside it or the
// text is not valid UTF-8.
std::optional<std::string> Utf8ToLatin1(std::string_view utf8);

// Compound text read without the locale's converters: the escape and
// control sequences that switch character sets are dropped and the rest
// is read as Latin-1, which compound text starts in.
std::string CompoundTextAsLatin1(std::string_view compound);

}  // namespace vantorel::x11
