#include "platform/TemporaryName.h"

#include <random>

#include "text/AsciiCase.h"

namespace vantorel::platform {

namespace {

constexpr std::string_view kTemporaryInfix = ".tmp-";
constexpr std::string_view kHexDigits = "0123456789abcdef";
constexpr std::size_t kHexDigitCount = 16;  // one 64-bit number
constexpr unsigned kBitsPerHexDigit = 4;
constexpr std::uint64_t kHexDigitMask = 0xF;
constexpr unsigned kWordBits = 32;

}  // namespace

std::string TemporaryNameFor(std::string_view target, std::uint64_t number) {
    std::string name(target);
    name += kTemporaryInfix;
    for (std::size_t i = kHexDigitCount; i > 0; --i) {
        name += kHexDigits[(number >> ((i - 1) * kBitsPerHexDigit)) & kHexDigitMask];
    }
    return name;
}

bool IsTemporaryNameOf(std::string_view fileName, std::string_view targetName) {
    const std::size_t prefix = targetName.size() + kTemporaryInfix.size();
    if (fileName.size() <= prefix || fileName.size() > prefix + kHexDigitCount) {
        return false;
    }
    if (!text::EqualsIgnoringAsciiCase(fileName.substr(0, targetName.size()), targetName) ||
        fileName.substr(targetName.size(), kTemporaryInfix.size()) != kTemporaryInfix) {
        return false;
    }
    return fileName.substr(prefix).find_first_not_of(kHexDigits) == std::string_view::npos;
}

std::uint64_t RandomTemporaryNumber() {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << kWordBits) | device();
}

}  // namespace vantorel::platform
