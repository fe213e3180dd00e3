#pragma once
// The forms in which a login secret (a password, an access token) may come
// back in a server's text.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace popmail {

// `secret` as it is; in Base64 and Base64url, whole with and without
// padding, and at each of the three byte alignments it can have inside a
// longer encoded message (a SASL message with fields before it): there only
// the characters that carry its bits alone, where at least `minAligned` of
// them do; in hex; percent-encoded, with and without the characters that
// need no encoding.
std::vector<std::string> SecretForms(std::string_view secret, std::size_t minAligned);

}  // namespace popmail
