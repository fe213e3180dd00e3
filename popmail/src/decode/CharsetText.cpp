#include "decode/CharsetText.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>

#include "decode/CodePageText.h"
#include "decode/Decode.h"
#include "decode/Jis.h"
#include "decode/Utf8.h"

namespace popmail::decode {
namespace {

constexpr std::uint8_t kFirstNonAsciiByte = 0x80;
constexpr std::string_view kJisX0208Designation = "\x1B$B";
constexpr std::string_view kJisC6226Designation = "\x1B$@";

// The single-byte charsets are listed in the same order in both enums.
static_assert(static_cast<int>(Charset::Koi8R) - static_cast<int>(Charset::Iso8859_1) ==
              static_cast<int>(CodePage::Koi8R) - static_cast<int>(CodePage::Iso8859_1));

CodePage SingleByteCodePage(Charset charset) {
    return static_cast<CodePage>(static_cast<int>(CodePage::Iso8859_1) + static_cast<int>(charset) -
                                 static_cast<int>(Charset::Iso8859_1));
}

std::string AsciiToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        if (static_cast<std::uint8_t>(c) < kFirstNonAsciiByte) {
            out.push_back(c);
        } else {
            AppendUtf8(out, kReplacementCharacter);
        }
    }
    return out;
}

}  // namespace

std::optional<std::string> CharsetBytesToUtf8(Charset charset, std::string_view bytes) {
    switch (charset) {
        case Charset::Utf8:
            return RepairUtf8(bytes);
        case Charset::UsAscii:
            return AsciiToUtf8(bytes);
        case Charset::Iso2022Jp:
            return CodePageToUtf8(CodePage::Cp932, Iso2022JpToCp932(bytes));
        case Charset::EucJp:
            return CodePageToUtf8(CodePage::Cp932, EucJpToCp932(bytes));
        case Charset::Cp932:
            return CodePageToUtf8(CodePage::Cp932, bytes);
        default:
            return CodePageToUtf8(SingleByteCodePage(charset), bytes);
    }
}

Charset UnlabelledCharset(std::string_view bytes) {
    const bool sevenBit = std::all_of(bytes.begin(), bytes.end(), [](char c) {
        return static_cast<std::uint8_t>(c) < kFirstNonAsciiByte;
    });
    if (sevenBit) {
        const bool designatesJis = bytes.find(kJisX0208Designation) != std::string_view::npos ||
                                   bytes.find(kJisC6226Designation) != std::string_view::npos;
        return designatesJis ? Charset::Iso2022Jp : Charset::UsAscii;
    }
    return IsValidUtf8(bytes) ? Charset::Utf8 : Charset::Cp932;
}

std::string UnlabelledBytesToUtf8(Charset charset, std::string_view bytes) {
    if (auto text = CharsetBytesToUtf8(charset, bytes)) {
        return std::move(*text);
    }
    return RepairUtf8(bytes);
}

std::optional<std::string> CharsetToUtf8(std::string_view charsetName, std::string_view bytes) {
    const auto charset = LookUpCharset(charsetName);
    if (!charset) {
        return std::nullopt;
    }
    return CharsetBytesToUtf8(*charset, bytes);
}

}  // namespace popmail::decode
