#include "decode/CharsetText.h"

#include <cstdint>

#include "decode/CodePageText.h"
#include "decode/Decode.h"
#include "decode/Jis.h"
#include "decode/Utf8.h"

namespace popmail::decode {
namespace {

constexpr std::uint8_t kFirstNonAsciiByte = 0x80;

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

std::string UnlabelledBytesToUtf8(std::string_view bytes) {
    if (auto text = CodePageToUtf8(CodePage::Cp932, bytes)) {
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
