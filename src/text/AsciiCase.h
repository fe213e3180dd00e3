#pragma once
// ASCII letter case: settings names, file names and command words are
// compared without regard to the case of A-Z only, whatever the locale, so
// that a byte of a multi-byte character never matches a letter.

#include <string>
#include <string_view>

namespace vantorel::text {

// `c` in lower case when it is one of A-Z; any other byte unchanged.
constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// `text` with the ASCII letters in lower case.
std::string AsciiLower(std::string_view text);

// True when `a` and `b` are the same but for the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace vantorel::text
