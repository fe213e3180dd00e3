#pragma once
// The program's UTF-8 text and the UTF-16 text of the wide Windows calls.

#include <string>
#include <string_view>

namespace vantorel::win32 {

// UTF-16 of `utf8`; a byte sequence that is not UTF-8 becomes U+FFFD.
std::wstring Widen(std::string_view utf8);

// UTF-8 of `wide`; an unpaired surrogate becomes U+FFFD.
std::string Narrow(std::wstring_view wide);

}  // namespace vantorel::win32
