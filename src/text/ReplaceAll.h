#pragma once
// Text replacement, as the notice texts use it to put a message's subject,
// sender and date into the user's label.

#include <string>
#include <string_view>

namespace vantorel::text {

// Replaces every occurrence of `search` in `text`, from left to right. The
// search goes on after each inserted replacement, so a replacement that
// holds `search` itself is not replaced again. An empty `search` changes
// nothing.
void ReplaceAll(std::string& text, std::string_view search, std::string_view replacement);

}  // namespace vantorel::text
