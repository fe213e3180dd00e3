// RFC 2047 encoded words inside an unfolded header value.
#pragma once

#include <string>
#include <string_view>

namespace popmail::decode {

// The value with its encoded words decoded, as UTF-8 (controls untouched).
// Words are recognised wherever they stand, since many mailers glue them to
// text. Whitespace between two decoded words is dropped, and adjacent words
// of one charset are converted as one byte run, so that a character split
// across them comes out whole. A malformed word, or one whose charset is not
// allow-listed, stays as its raw text, like the text around the words (read
// as UnlabelledCharset says).
std::string DecodeEncodedWords(std::string_view value);

}  // namespace popmail::decode
