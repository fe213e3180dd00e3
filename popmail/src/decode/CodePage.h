// The one thing the platform does for header decoding: turning whole
// characters of a legacy code page into UTF-8. Each backend folder
// (iconv/, win32/) defines ConvertCodePage; the rest of the library only
// hands it byte runs that it has already split into characters.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace popmail::decode {

enum class CodePage {
    Cp932,
    Iso8859_1,
    Iso8859_2,
    Iso8859_3,
    Iso8859_4,
    Iso8859_5,
    Iso8859_6,
    Iso8859_7,
    Iso8859_8,
    Iso8859_9,
    Iso8859_10,
    Iso8859_11,
    Iso8859_13,
    Iso8859_14,
    Iso8859_15,
    Windows1250,
    Windows1251,
    Windows1252,
    Windows1253,
    Windows1254,
    Windows1255,
    Windows1256,
    Windows1257,
    Windows1258,
    Koi8R,
};

// Whether the platform can convert the code page at all.
bool CodePageAvailable(CodePage page);

// UTF-8 for `bytes`, every one of which must belong to a character the code
// page defines. nullopt when any does not, or when the platform has no
// converter for the code page.
std::optional<std::string> ConvertCodePage(CodePage page, std::string_view bytes);

}  // namespace popmail::decode
