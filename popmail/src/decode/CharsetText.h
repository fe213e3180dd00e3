// Text in an allow-listed charset -> UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "decode/Charset.h"

namespace popmail::decode {

// Invalid sequences become U+FFFD; nullopt only when the platform has no
// converter for the charset.
std::optional<std::string> CharsetBytesToUtf8(Charset charset, std::string_view bytes);

// How header text outside encoded words is read: ISO-2022-JP when it is
// 7-bit and designates JIS X 0208 (old Japanese mailers sent it so), UTF-8
// when it is valid UTF-8 (what modern mailers send), otherwise CP932 (what
// old Windows mailers send).
Charset UnlabelledCharset(std::string_view bytes);

// CharsetBytesToUtf8, falling back to repaired UTF-8 without a converter.
std::string UnlabelledBytesToUtf8(Charset charset, std::string_view bytes);

}  // namespace popmail::decode
