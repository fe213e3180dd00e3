// UTF-8 helpers shared by the decoders: validation, repair and the final
// clean-up that makes a decoded field fit on one line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace popmail::decode {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

void AppendUtf8(std::string& out, char32_t codePoint);

bool IsValidUtf8(std::string_view bytes);

// Copies valid UTF-8 sequences and replaces every byte that does not start
// one with U+FFFD.
std::string RepairUtf8(std::string_view bytes);

// Replaces each C0 control (TAB, CR and LF included), DEL and C1 control of
// valid UTF-8 text with one space.
std::string ControlsToSpaces(std::string_view utf8);

// Cuts valid UTF-8 text to at most maxBytes, at a character boundary, ending
// it with an ellipsis when something was cut.
std::string TruncateUtf8(std::string_view utf8, std::size_t maxBytes);

}  // namespace popmail::decode
