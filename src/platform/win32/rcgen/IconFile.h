#pragma once
// Icon images as the bytes of a Windows .ico file: 32-bit colour with
// alpha, plus the 1-bit mask that older shells draw with.

#include <cstdint>
#include <string>
#include <vector>

namespace vantorel::win32::rcgen {

struct IconPixels {
    int size = 0;                    // width and height, at most 256
    std::vector<std::uint8_t> rgba;  // size * size pixels, top row first
};

std::string IconFileBytes(const std::vector<IconPixels>& images);

}  // namespace vantorel::win32::rcgen
