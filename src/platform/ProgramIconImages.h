#pragma once
// The program's icon, an envelope, at the two sizes the desktop asks for:
// 16x16 (tray, window caption) and 32x32 (task switcher, version window).
// Backends make their own icon objects from these pixels.

#include <cstdint>
#include <vector>

namespace vantorel {

struct IconImage {
    int size = 0;  // width and height in pixels
    // size * size pixels, top row first, four bytes each: red, green, blue,
    // alpha (0 transparent, 255 opaque).
    std::vector<std::uint8_t> rgba;
};

// The icon's images, smallest first.
const std::vector<IconImage>& ProgramIconImages();

}  // namespace vantorel
