// The character sets header text may use. A name from a header is only ever
// looked up here; converters are picked by this enum, never by that name.
#pragma once

#include <optional>
#include <string_view>

namespace popmail::decode {

enum class Charset {
    Utf8,
    UsAscii,
    Iso2022Jp,  // read with the NEC and IBM extensions, as Windows does
    Cp932,      // also for text labelled Shift_JIS: Windows mailers label CP932 so
    EucJp,      // read with the NEC and IBM extensions, as Windows does
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

// The allow-listed charset a MIME name (any letter case, common aliases, an
// RFC 2231 "*language" suffix ignored) stands for; nullopt for anything else.
std::optional<Charset> LookUpCharset(std::string_view mimeName);

}  // namespace popmail::decode
