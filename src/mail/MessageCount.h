#pragma once
// The number of waiting messages in the mail library's answer to "STAT".

#include <cstdint>
#include <string_view>

namespace vantorel {

// The count in a STAT element ("3 456" gives 3): the leading number of the
// text before its first space (blanks before it skipped, no digits giving
// 0), rounded half to even, as a 16-bit count. Throws RuntimeFailure when
// the element holds no space or the count leaves the 16-bit range.
std::int16_t MessageCountOf(std::string_view statElement);

}  // namespace vantorel
