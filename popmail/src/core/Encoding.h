#pragma once
// The encodings logins need: Base64 for SASL (RFC 4648) and the MD5 hex
// digest for APOP (RFC 1321, RFC 1939); hex for the latter and for the
// forms of a secret that failure texts must not show.

#include <optional>
#include <string>
#include <string_view>

namespace popmail {

std::string Base64Encode(std::string_view data);

// The bytes of padded Base64 text (a server's SASL challenge); nullopt for
// anything that is not such text.
std::optional<std::string> Base64Decode(std::string_view text);

// Two lower-case hex digits per byte.
std::string HexEncode(std::string_view data);

// Lower-case hex MD5 digest of `data`.
std::string Md5Hex(std::string_view data);

}  // namespace popmail
