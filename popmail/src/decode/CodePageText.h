// Legacy code page text -> UTF-8. These functions split the bytes into
// characters themselves and replace whatever is not a character of the code
// page with U+FFFD, so every platform backend sees only well-formed input and
// all of them give the same result.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "decode/CodePage.h"

namespace popmail::decode {

// A byte that is never part of a CP932 character. The JIS decoders put it
// where their input is broken, so that it comes out as U+FFFD.
inline constexpr char kInvalidCp932Byte = '\xFF';

// nullopt only when the platform cannot convert the code page at all.
std::optional<std::string> CodePageToUtf8(CodePage page, std::string_view bytes);

}  // namespace popmail::decode
