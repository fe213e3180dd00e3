#pragma once
// Text replacement for the display of a message summary.

#include <string>
#include <string_view>

namespace vantorel {

// Replaces every occurrence of `search` in `text`, from left to right. The
// search goes on after each inserted replacement, so a replacement that
// holds `search` itself is not replaced again. An empty `search` changes
// nothing.
void ReplaceAll(std::string& text, std::string_view search, std::string_view replacement);

}  // namespace vantorel
