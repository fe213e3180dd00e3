// ISO-2022-JP and EUC-JP read the way Windows reads them (code pages
// 50220/50221 and 51932): JIS X 0208 with the NEC special characters of
// row 13 (①, ㈱) and the NEC-selected IBM extensions of rows 89-92 (髙).
// Both are rewritten as CP932 bytes, which hold exactly that repertoire, so
// one CP932 converter serves all three Japanese charsets. Whatever cannot be
// read becomes kInvalidCp932Byte.
#pragma once

#include <string>
#include <string_view>

namespace popmail::decode {

std::string Iso2022JpToCp932(std::string_view bytes);

// JIS X 0212 characters (three bytes after 0x8F) are outside the repertoire
// and each becomes one invalid byte.
std::string EucJpToCp932(std::string_view bytes);

}  // namespace popmail::decode
