// The program's icon, as the backends receive it.

#include "platform/ProgramIconImages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

namespace vantorel {
namespace {

TEST(ProgramIcon, HasA16And32PixelEnvelopeWithTransparentCorners) {
    const auto& images = ProgramIconImages();
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].size, 16);
    EXPECT_EQ(images[1].size, 32);
    for (const auto& image : images) {
        const auto pixels = static_cast<std::size_t>(image.size * image.size);
        ASSERT_EQ(image.rgba.size(), pixels * 4);
        const auto alpha = [&](int x, int y) {
            return image.rgba[static_cast<std::size_t>((y * image.size + x) * 4 + 3)];
        };
        EXPECT_EQ(alpha(0, 0), 0) << image.size;
        EXPECT_EQ(alpha(image.size - 1, 0), 0) << image.size;
        EXPECT_EQ(alpha(image.size / 2, image.size / 2), 255) << image.size;
        std::set<std::uint32_t> colours;
        for (std::size_t i = 0; i < pixels; ++i) {
            colours.insert(
                static_cast<std::uint32_t>(image.rgba[i * 4] << 24 | image.rgba[i * 4 + 1] << 16 |
                                           image.rgba[i * 4 + 2] << 8 | image.rgba[i * 4 + 3]));
        }
        EXPECT_LE(colours.size(), 16u) << image.size;  // what every tray can show
        EXPECT_GE(colours.size(), 3u) << image.size;
    }
}

}  // namespace
}  // namespace vantorel
