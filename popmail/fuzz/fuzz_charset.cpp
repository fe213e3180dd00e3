// libFuzzer target: the first byte picks an allow-listed charset, the rest is
// converted by CharsetToUtf8, which must then give valid UTF-8.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzChecks.h"
#include "decode/Decode.h"

namespace {

constexpr std::array<std::string_view, 12> kCharsets{
    "ISO-2022-JP", "Shift_JIS",  "EUC-JP",       "UTF-8",        "US-ASCII",     "ISO-8859-1",
    "ISO-8859-6",  "ISO-8859-7", "windows-1252", "windows-1255", "windows-1258", "KOI8-R",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view charset = kCharsets[data[0] % kCharsets.size()];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto text = popmail::decode::CharsetToUtf8(charset, bytes);
    if (!text) {
        popmail::fuzz::Fail("allow-listed charset refused", charset);
    }
    if (!popmail::fuzz::IsStrictUtf8(*text)) {
        popmail::fuzz::Fail("conversion is not UTF-8", *text);
    }
    return 0;
}
