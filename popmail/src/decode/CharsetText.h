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

// Unlabelled 8-bit header text that is not UTF-8: CP932, which is what old
// Japanese mailers send. Without a CP932 converter, repaired UTF-8.
std::string UnlabelledBytesToUtf8(std::string_view bytes);

}  // namespace popmail::decode
