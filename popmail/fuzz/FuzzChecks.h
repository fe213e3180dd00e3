// Properties every decoded text must have, checked in the fuzz targets with
// code of their own rather than the library's, and fatal when broken so that
// libFuzzer keeps the input.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace popmail::fuzz {

[[noreturn]] inline void Fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "broken property: %s (%zu bytes of output)\n", what, text.size());
    std::abort();
}

// Strict UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
inline bool IsStrictUtf8(std::string_view text) {
    struct Lead {
        std::size_t length;
        std::uint32_t bits;
        std::uint32_t minimum;
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto byte = static_cast<std::uint8_t>(text[pos]);
        Lead lead{};
        if (byte < 0x80) {
            lead = {1, byte, 0};
        } else if (byte >= 0xC2 && byte <= 0xDF) {
            lead = {2, byte & 0x1Fu, 0x80};
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            lead = {3, byte & 0x0Fu, 0x800};
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            lead = {4, byte & 0x07u, 0x10000};
        } else {
            return false;
        }
        if (text.size() - pos < lead.length) {
            return false;
        }
        std::uint32_t codePoint = lead.bits;
        for (std::size_t i = 1; i < lead.length; ++i) {
            const auto next = static_cast<std::uint8_t>(text[pos + i]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        if (codePoint < lead.minimum || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
            return false;
        }
        pos += lead.length;
    }
    return true;
}

// No C0 control, DEL or C1 control (C1 controls are U+0080-U+009F, which
// UTF-8 writes as 0xC2 0x80-0x9F).
inline bool HasNoControls(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const auto byte = static_cast<std::uint8_t>(text[pos]);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
        if (byte == 0xC2 && pos + 1 < text.size()) {
            const auto next = static_cast<std::uint8_t>(text[pos + 1]);
            if (next >= 0x80 && next <= 0x9F) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace popmail::fuzz
