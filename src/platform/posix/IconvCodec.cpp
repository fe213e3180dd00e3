#include "platform/posix/IconvCodec.h"

#include <cerrno>
#include <vector>

#include "text/Utf8.h"

namespace vantorel::posix {

namespace {

constexpr const char* kCp932 = "CP932";
constexpr const char* kUtf8 = "UTF-8";
constexpr std::string_view kReplacement = text::kReplacementCharacter;
// Converted text is collected through a buffer of this size.
constexpr std::size_t kChunkBytes = 4096;

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);  // iconv_open's failure value
constexpr std::size_t kIconvError = static_cast<std::size_t>(-1);

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// iconv takes a non-const input pointer but never writes through it.
char* InputPointer(std::string_view text) {
    return const_cast<char*>(text.data());
}

}  // namespace

IconvCodec::IconvCodec()
    : toCp932_(iconv_open(kCp932, kUtf8)), fromCp932_(iconv_open(kUtf8, kCp932)) {}

IconvCodec::~IconvCodec() {
    if (toCp932_ != kNoConverter) {
        iconv_close(toCp932_);
    }
    if (fromCp932_ != kNoConverter) {
        iconv_close(fromCp932_);
    }
}

std::optional<std::string> IconvCodec::encode(std::string_view utf8) {
    if (toCp932_ == kNoConverter) {
        return IsAscii(utf8) ? std::optional<std::string>(utf8) : std::nullopt;
    }
    iconv(toCp932_, nullptr, nullptr, nullptr, nullptr);
    // A UTF-8 character never takes more bytes in CP932.
    std::vector<char> out(utf8.size() + 1);
    char* in = InputPointer(utf8);
    std::size_t inLeft = utf8.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    // Any stop (a character CP932 lacks, broken or cut UTF-8) is a refusal:
    // nothing is ever replaced by "?".
    if (iconv(toCp932_, &in, &inLeft, &outPtr, &outLeft) == kIconvError || inLeft != 0) {
        return std::nullopt;
    }
    return std::string(out.data(), out.size() - outLeft);
}

std::optional<std::string> IconvCodec::utf8ToCp932(std::string_view utf8) {
    std::optional<std::string> encoded = encode(utf8);
    // iconv maps some characters onto a neighbour (U+00A5 to 0x5C); only an
    // exact round trip counts as held.
    if (encoded && cp932ToUtf8(*encoded) != utf8) {
        return std::nullopt;
    }
    return encoded;
}

std::string IconvCodec::cp932ToUtf8(std::string_view cp932) {
    std::string result;
    if (fromCp932_ == kNoConverter) {
        for (const char c : cp932) {
            result += static_cast<unsigned char>(c) < 0x80 ? std::string_view(&c, 1) : kReplacement;
        }
        return result;
    }
    iconv(fromCp932_, nullptr, nullptr, nullptr, nullptr);
    std::vector<char> out(kChunkBytes);
    char* in = InputPointer(cp932);
    std::size_t inLeft = cp932.size();
    while (inLeft > 0) {
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        const std::size_t rc = iconv(fromCp932_, &in, &inLeft, &outPtr, &outLeft);
        result.append(out.data(), out.size() - outLeft);
        if (rc != kIconvError || errno == E2BIG) {
            continue;  // done, or the buffer was full: collect the rest
        }
        // A byte that starts no CP932 character (or a lead byte cut off at
        // the end): mark it and go on with the next byte.
        result += kReplacement;
        ++in;
        --inLeft;
    }
    return result;
}

}  // namespace vantorel::posix
