#include "decode/Charset.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>
#include <utility>

namespace popmail::decode {
namespace {

// Longer names than this are not on the list; they are not even copied.
constexpr std::size_t kMaxCharsetNameLength = 40;

constexpr std::array<std::pair<std::string_view, Charset>, 35> kAliases{{
    {"utf-8", Charset::Utf8},
    {"utf8", Charset::Utf8},
    {"us-ascii", Charset::UsAscii},
    {"ascii", Charset::UsAscii},
    {"ansi_x3.4-1968", Charset::UsAscii},
    {"iso-2022-jp", Charset::Iso2022Jp},
    {"csiso2022jp", Charset::Iso2022Jp},
    {"iso-2022-jp-ms", Charset::Iso2022Jp},
    {"cp50220", Charset::Iso2022Jp},
    {"cp50221", Charset::Iso2022Jp},
    {"cp50222", Charset::Iso2022Jp},
    {"shift_jis", Charset::Cp932},
    {"shift-jis", Charset::Cp932},
    {"sjis", Charset::Cp932},
    {"x-sjis", Charset::Cp932},
    {"ms_kanji", Charset::Cp932},
    {"csshiftjis", Charset::Cp932},
    {"cp932", Charset::Cp932},
    {"ms932", Charset::Cp932},
    {"windows-31j", Charset::Cp932},
    {"cswindows31j", Charset::Cp932},
    {"windows-932", Charset::Cp932},
    {"x-ms-cp932", Charset::Cp932},
    {"euc-jp", Charset::EucJp},
    {"eucjp", Charset::EucJp},
    {"x-euc-jp", Charset::EucJp},
    {"cseucpkdfmtjapanese", Charset::EucJp},
    {"euc-jp-ms", Charset::EucJp},
    {"eucjp-ms", Charset::EucJp},
    {"eucjp-win", Charset::EucJp},
    {"cp51932", Charset::EucJp},
    {"koi8-r", Charset::Koi8R},
    {"cskoi8r", Charset::Koi8R},
    {"latin1", Charset::Iso8859_1},
    {"iso-8859-8-i", Charset::Iso8859_8},  // Hebrew in logical order: the same bytes
}};

constexpr std::array<std::string_view, 4> kIso8859Prefixes{"iso-8859-", "iso8859-", "iso_8859-",
                                                           "iso8859_"};
constexpr std::array<std::string_view, 3> kWindowsPrefixes{"windows-", "cp", "x-cp"};

// ISO-8859 parts 1 to 15 in order; part 12 was never published.
constexpr std::array<std::optional<Charset>, 15> kIso8859Parts{
    Charset::Iso8859_1,  Charset::Iso8859_2,  Charset::Iso8859_3,  Charset::Iso8859_4,
    Charset::Iso8859_5,  Charset::Iso8859_6,  Charset::Iso8859_7,  Charset::Iso8859_8,
    Charset::Iso8859_9,  Charset::Iso8859_10, Charset::Iso8859_11, std::nullopt,
    Charset::Iso8859_13, Charset::Iso8859_14, Charset::Iso8859_15,
};

constexpr int kFirstWindowsCodePage = 1250;
constexpr std::array<Charset, 9> kWindowsCodePages{
    Charset::Windows1250, Charset::Windows1251, Charset::Windows1252,
    Charset::Windows1253, Charset::Windows1254, Charset::Windows1255,
    Charset::Windows1256, Charset::Windows1257, Charset::Windows1258,
};

// The number that makes up all of `text`, or nullopt.
std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// The number after one of `prefixes`, when `name` is such a prefix and a number.
template <std::size_t N>
std::optional<int> NumberAfterPrefix(std::string_view name,
                                     const std::array<std::string_view, N>& prefixes) {
    for (const auto prefix : prefixes) {
        if (name.starts_with(prefix)) {
            if (const auto number = WholeNumber(name.substr(prefix.size()))) {
                return number;
            }
        }
    }
    return std::nullopt;
}

std::optional<Charset> LookUpNumbered(std::string_view name) {
    if (const auto part = NumberAfterPrefix(name, kIso8859Prefixes)) {
        if (*part >= 1 && *part <= static_cast<int>(kIso8859Parts.size())) {
            return kIso8859Parts[static_cast<std::size_t>(*part - 1)];
        }
    }
    if (const auto page = NumberAfterPrefix(name, kWindowsPrefixes)) {
        const int index = *page - kFirstWindowsCodePage;
        if (index >= 0 && index < static_cast<int>(kWindowsCodePages.size())) {
            return kWindowsCodePages[static_cast<std::size_t>(index)];
        }
    }
    return std::nullopt;
}

std::string ToLowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower;
}

}  // namespace

std::optional<Charset> LookUpCharset(std::string_view mimeName) {
    // RFC 2231 lets an encoded word name its language: "ISO-2022-JP*ja".
    mimeName = mimeName.substr(0, mimeName.find('*'));
    if (mimeName.size() > kMaxCharsetNameLength) {
        return std::nullopt;
    }
    const std::string name = ToLowerAscii(mimeName);
    for (const auto& [alias, charset] : kAliases) {
        if (name == alias) {
            return charset;
        }
    }
    return LookUpNumbered(name);
}

}  // namespace popmail::decode
