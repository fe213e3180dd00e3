// The two encodings of RFC 2047 encoded words.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace popmail::decode {

// "B": base64. Padding may be missing, as some mailers send it; nullopt for
// any other character or an impossible length.
std::optional<std::string> DecodeBase64(std::string_view text);

// "Q": quoted-printable where "_" is a space. nullopt when "=" is not
// followed by two hex digits.
std::optional<std::string> DecodeQ(std::string_view text);

}  // namespace popmail::decode
