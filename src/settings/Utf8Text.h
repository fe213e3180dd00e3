#pragma once
// Checks on UTF-8 text, the program's own text form.

#include <string>
#include <string_view>

namespace vantorel {

// `bytes` with every sequence that is not UTF-8 (stray continuation bytes,
// overlong forms, surrogates, code points past U+10FFFF, cut-off sequences)
// replaced by U+FFFD, one per offending byte.
std::string SanitizeUtf8(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

// True when `text` holds U+FFFD, the mark of bytes that could not be read.
bool HasReplacementCharacter(std::string_view text);

// The longest start of `text` of at most `maxBytes` bytes that does not end
// inside a character.
std::string_view CutAtCharacter(std::string_view text, std::size_t maxBytes);

}  // namespace vantorel
