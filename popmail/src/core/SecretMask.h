#pragma once
// Keeps an access token out of failure texts, in whatever form a server
// might echo it: as it is, or in the Base64 of a SASL message, whole or in
// part.

#include <string>
#include <string_view>
#include <vector>

#include "core/Failure.h"

namespace popmail {

// The forms of `token` to look for: the token itself and its Base64 at each
// of the three byte alignments it can have inside an encoded SASL message
// (without the characters the neighbouring bytes share).
std::vector<std::string> TokenForms(std::string_view token);

// `text` with "***" in place of every run of kMinMaskedRun or more
// characters that also occurs in one of `forms`.
std::string MaskForms(std::string_view text, const std::vector<std::string>& forms);

// The failure with MaskForms applied to everything FailureText quotes.
Failure MaskedFailure(Failure failure, const std::vector<std::string>& forms);

// Shorter runs are too common to mean a piece of the token.
inline constexpr std::size_t kMinMaskedRun = 12;

}  // namespace popmail
