#pragma once
// UTF-8, the program's own text form: checks, repair and the reading and
// writing of single characters.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantorel::text {

// U+FFFD, the mark of bytes that could not be read, in UTF-8.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// The length of the well-formed UTF-8 character at the start of `bytes`, or
// 0 when there is none (empty text, a stray continuation byte, an overlong
// form, a surrogate, a code point past U+10FFFF, a cut-off sequence).
std::size_t Utf8CharacterLength(std::string_view bytes);

// The code point of the well-formed character at `pos`; on success `pos`
// moves past it, otherwise it stays where it was.
std::optional<char32_t> DecodeUtf8At(std::string_view bytes, std::size_t& pos);

// Appends the UTF-8 form of `codePoint` (at most U+10FFFF) to `out`.
void AppendUtf8(std::string& out, char32_t codePoint);

// `bytes` with every sequence that is not UTF-8 replaced by U+FFFD, one per
// offending byte.
std::string SanitizeUtf8(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

// True when `text` holds U+FFFD, the mark of bytes that could not be read.
bool HasReplacementCharacter(std::string_view text);

// The longest start of `text` of at most `maxBytes` bytes that does not end
// inside a character.
std::string_view CutAtCharacter(std::string_view text, std::size_t maxBytes);

}  // namespace vantorel::text
