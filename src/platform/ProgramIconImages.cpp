#include "platform/ProgramIconImages.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace vantorel {

namespace {

// One pixel-art character per pixel; the palette keeps the icon within the
// 16 colours every tray can show.
struct PaletteEntry {
    char symbol;
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    std::uint8_t alpha;
};

constexpr std::uint8_t kOpaque = 255;

constexpr std::array<PaletteEntry, 5> kPalette{{
    {'.', 0x00, 0x00, 0x00, 0x00},     // transparent
    {'K', 0x2b, 0x4c, 0x7e, kOpaque},  // outline and flap edges, dark blue
    {'F', 0xd6, 0xe2, 0xf0, kOpaque},  // the flap, pale blue
    {'W', 0xff, 0xff, 0xff, kOpaque},  // paper
    {'S', 0xa9, 0xbc, 0xd6, kOpaque},  // folds of the paper
}};

constexpr int kSmall = 16;
constexpr int kLarge = 32;

constexpr std::array<std::string_view, kSmall> kEnvelope16{{
    "................",
    "................",
    "................",
    "KKKKKKKKKKKKKKKK",
    "KKFFFFFFFFFFFFKK",
    "KWKFFFFFFFFFFKWK",
    "KWWKFFFFFFFFKWWK",
    "KWWWKFFFFFFKWWWK",
    "KWWWWKFFFFKWWWWK",
    "KWWWWWKFFKWWWWWK",
    "KWWWWWWKKWWWWWWK",
    "KWWWWWWWWWWWWWWK",
    "KWWWWWWWWWWWWWWK",
    "KKKKKKKKKKKKKKKK",
    "................",
    "................",
}};

constexpr std::array<std::string_view, kLarge> kEnvelope32{{
    "................................", "................................",
    "................................", "................................",
    "................................", "................................",
    ".KKKKKKKKKKKKKKKKKKKKKKKKKKKKKK.", ".KKKKKKKKKKKKKKKKKKKKKKKKKKKKKK.",
    ".KKKKFFFFFFFFFFFFFFFFFFFFFFKKKK.", ".KKWKKFFFFFFFFFFFFFFFFFFFFKKWKK.",
    ".KKWWKKFFFFFFFFFFFFFFFFFFKKWWKK.", ".KKWWWKKFFFFFFFFFFFFFFFFKKWWWKK.",
    ".KKWWWWKKFFFFFFFFFFFFFFKKWWWWKK.", ".KKWWWWWKKFFFFFFFFFFFFKKWWWWWKK.",
    ".KKWWWWWWKKFFFFFFFFFFKKWWWWWWKK.", ".KKWWWWWWWKKFFFFFFFFKKWWWWWWWKK.",
    ".KKWWWWWWWWKKFFFFFFKKWWWWWWWWKK.", ".KKWWWWWWWWWKKFFFFKKWWWWWWWWWKK.",
    ".KKWWWWWWWWWWKKFFKKWWWWWWWWWWKK.", ".KKWWWWWWWWWWWKKKKWWWWWWWWWWWKK.",
    ".KKWWWWWWWWWWWWKKWWWWWWWWWWWWKK.", ".KKWWWWWWSSWWWWWWWWWWSSWWWWWWKK.",
    ".KKWWWWSSWWWWWWWWWWWWWWSSWWWWKK.", ".KKWWSSWWWWWWWWWWWWWWWWWWSSWWKK.",
    ".KKSSWWWWWWWWWWWWWWWWWWWWWWSSKK.", ".KKKKKKKKKKKKKKKKKKKKKKKKKKKKKK.",
    ".KKKKKKKKKKKKKKKKKKKKKKKKKKKKKK.", "................................",
    "................................", "................................",
    "................................", "................................",
}};

constexpr const PaletteEntry* FindColour(char symbol) {
    for (const auto& entry : kPalette) {
        if (entry.symbol == symbol) {
            return &entry;
        }
    }
    return nullptr;
}

// Every row as wide as the image is high, every pixel a palette colour.
template <std::size_t Size>
constexpr bool IsWellFormed(const std::array<std::string_view, Size>& rows) {
    for (const auto row : rows) {
        if (row.size() != Size) {
            return false;
        }
        for (const char symbol : row) {
            if (FindColour(symbol) == nullptr) {
                return false;
            }
        }
    }
    return true;
}

static_assert(IsWellFormed(kEnvelope16));
static_assert(IsWellFormed(kEnvelope32));

template <std::size_t Size>
IconImage ToImage(const std::array<std::string_view, Size>& rows) {
    IconImage image;
    image.size = static_cast<int>(Size);
    image.rgba.reserve(Size * Size * 4);
    for (const auto row : rows) {
        for (const char symbol : row) {
            const PaletteEntry& colour = *FindColour(symbol);
            image.rgba.insert(image.rgba.end(),
                              {colour.red, colour.green, colour.blue, colour.alpha});
        }
    }
    return image;
}

}  // namespace

const std::vector<IconImage>& ProgramIconImages() {
    static const std::vector<IconImage> images{ToImage(kEnvelope16), ToImage(kEnvelope32)};
    return images;
}

}  // namespace vantorel
