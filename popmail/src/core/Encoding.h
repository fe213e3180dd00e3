#pragma once
// The encodings logins need: Base64 for SASL PLAIN (RFC 4648) and the MD5
// hex digest for APOP (RFC 1321, RFC 1939); hex for both of the latter.

#include <string>
#include <string_view>

namespace popmail {

std::string Base64Encode(std::string_view data);

// Two lower-case hex digits per byte.
std::string HexEncode(std::string_view data);

// Lower-case hex MD5 digest of `data`.
std::string Md5Hex(std::string_view data);

}  // namespace popmail
