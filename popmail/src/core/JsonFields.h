#pragma once
// Reads the members of a small JSON object (RFC 8259), such as the status a
// server sends in a SASL error challenge. Only top-level members whose
// values are strings, numbers, true, false or null are kept, as text;
// nested objects and arrays are read past.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace popmail {

// The members of the object that is all of `json`; nullopt when it is not
// one (or nests deeper than kMaxJsonDepth).
std::optional<std::map<std::string, std::string>> JsonObjectFields(std::string_view json);

inline constexpr int kMaxJsonDepth = 16;

}  // namespace popmail
