#include "platform/win32/TrayMarkIcon.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace vantorel::win32 {

namespace {

constexpr int kBitsPerPixel = 32;
constexpr int kBytesPerPixel = 4;
constexpr double kBadgeShare = 0.62;  // of the icon's width
constexpr double kHalf = 0.5;
constexpr int kMostCountShown = 99;
constexpr int kDecimal = 10;
constexpr std::uint8_t kOpaque = 255;

// Pixels are blue, green, red, alpha (the DIB's order).
struct Pixel {
    std::uint8_t b, g, r, a;
};
constexpr Pixel kWhite{255, 255, 255, kOpaque};
constexpr Pixel kNewMailColour{0x20, 0x20, 0xD0, kOpaque};
constexpr Pixel kErrorColour{0x00, 0x70, 0xE0, kOpaque};
constexpr Pixel kPausedColour{0x70, 0x70, 0x70, kOpaque};

// Digits 0-9 in 3x5 pixels, one row per entry, the high bit on the left:
// the count must stay readable at 16 pixels, where no system font is.
constexpr int kDigitWidth = 3;
constexpr int kDigitHeight = 5;
constexpr std::array<std::array<std::uint8_t, kDigitHeight>, kDecimal> kDigits{{
    {7, 5, 5, 5, 7},  // 0
    {2, 6, 2, 2, 7},  // 1
    {7, 1, 7, 4, 7},  // 2
    {7, 1, 7, 1, 7},  // 3
    {5, 5, 7, 1, 1},  // 4
    {7, 4, 7, 1, 7},  // 5
    {7, 4, 7, 5, 7},  // 6
    {7, 1, 2, 2, 2},  // 7
    {7, 5, 7, 5, 7},  // 8
    {7, 5, 7, 1, 7},  // 9
}};

class Canvas {
  public:
    Canvas(std::vector<Pixel>& pixels, int size) : pixels_(pixels), size_(size) {}
    void set(int x, int y, Pixel colour) {
        if (x >= 0 && y >= 0 && x < size_ && y < size_) {
            pixels_[static_cast<std::size_t>(y * size_ + x)] = colour;
        }
    }
    void fill(int left, int top, int width, int height, Pixel colour) {
        for (int y = top; y < top + height; ++y) {
            for (int x = left; x < left + width; ++x) {
                set(x, y, colour);
            }
        }
    }
    void digit(int value, int left, int top) {
        for (int row = 0; row < kDigitHeight; ++row) {
            for (int column = 0; column < kDigitWidth; ++column) {
                if ((kDigits[static_cast<std::size_t>(value)][static_cast<std::size_t>(row)] >>
                     (kDigitWidth - 1 - column)) &
                    1) {
                    set(left + column, top + row, kWhite);
                }
            }
        }
    }
    int size() const { return size_; }

  private:
    std::vector<Pixel>& pixels_;
    int size_;
};

// The icon's colour pixels with their alpha; an icon without alpha takes
// it from its mask. Empty when the icon cannot be read.
std::vector<Pixel> IconPixels(HICON icon, int& size) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return {};
    }
    std::vector<Pixel> pixels;
    BITMAP colour{};
    HDC screen = GetDC(nullptr);
    if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof(colour), &colour) != 0) {
        size = colour.bmWidth;
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof(format.bmiHeader);
        format.bmiHeader.biWidth = size;
        format.bmiHeader.biHeight = -size;  // top row first
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = kBitsPerPixel;
        format.bmiHeader.biCompression = BI_RGB;
        pixels.resize(static_cast<std::size_t>(size * size));
        std::vector<Pixel> mask(pixels.size());
        const bool read = GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(size),
                                    pixels.data(), &format, DIB_RGB_COLORS) != 0;
        const bool maskRead = GetDIBits(screen, info.hbmMask, 0, static_cast<UINT>(size),
                                        mask.data(), &format, DIB_RGB_COLORS) != 0;
        if (!read) {
            pixels.clear();
        } else if (std::none_of(pixels.begin(), pixels.end(), [](Pixel p) { return p.a != 0; })) {
            // No alpha at all: the AND mask says what is transparent.
            for (std::size_t i = 0; i < pixels.size(); ++i) {
                pixels[i].a = maskRead && mask[i].r != 0 ? 0 : kOpaque;
            }
        }
    }
    ReleaseDC(nullptr, screen);
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    }
    DeleteObject(info.hbmMask);
    return pixels;
}

void Grey(std::vector<Pixel>& pixels) {
    for (Pixel& p : pixels) {
        const auto level = static_cast<std::uint8_t>((p.r * 3 + p.g * 6 + p.b) / kDecimal);
        p = {level, level, level, p.a};
    }
}

void PaintBadge(Canvas& canvas, const platform::TrayMark& mark) {
    const int size = canvas.size();
    const int diameter = static_cast<int>(size * kBadgeShare + kHalf);
    const double radius = diameter * kHalf;
    const double centre = size - radius;
    const Pixel colour = mark.kind == platform::TrayMark::Kind::NewMail ? kNewMailColour
                         : mark.kind == platform::TrayMark::Kind::Error ? kErrorColour
                                                                        : kPausedColour;
    for (int y = size - diameter; y < size; ++y) {
        for (int x = size - diameter; x < size; ++x) {
            const double dx = x + kHalf - centre;
            const double dy = y + kHalf - centre;
            const double distance = dx * dx + dy * dy;
            if (distance <= radius * radius) {
                // A white rim sets the badge off from the envelope.
                canvas.set(x, y, distance > (radius - 1) * (radius - 1) ? kWhite : colour);
            }
        }
    }
    const int middle = static_cast<int>(centre);
    const int top = middle - kDigitHeight / 2;
    switch (mark.kind) {
        case platform::TrayMark::Kind::NewMail: {
            const int count = std::clamp(mark.count, 0, kMostCountShown);
            if (count < kDecimal) {
                canvas.digit(count, middle - 1, top);
            } else {
                canvas.digit(count / kDecimal, middle - kDigitWidth, top);
                canvas.digit(count % kDecimal, middle + 1, top);
            }
            break;
        }
        case platform::TrayMark::Kind::Error:
            canvas.fill(middle, top, 1, kDigitHeight - 2, kWhite);
            canvas.fill(middle, top + kDigitHeight - 1, 1, 1, kWhite);
            break;
        default:
            canvas.fill(middle - 2, top, 1, kDigitHeight, kWhite);
            canvas.fill(middle + 1, top, 1, kDigitHeight, kWhite);
            break;
    }
}

// A monochrome bitmap's rows are whole 16-bit words.
std::size_t MaskRowBytes(int size) {
    constexpr int kWordBits = 16;
    constexpr int kWordBytes = 2;
    return static_cast<std::size_t>((size + kWordBits - 1) / kWordBits * kWordBytes);
}

HICON MakeIcon(const std::vector<Pixel>& pixels, int size) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = size;
    format.bmiHeader.biHeight = -size;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = kBitsPerPixel;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP colour = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (colour == nullptr) {
        return nullptr;
    }
    std::copy_n(reinterpret_cast<const std::uint8_t*>(pixels.data()),
                pixels.size() * kBytesPerPixel, static_cast<std::uint8_t*>(bits));
    // With a 32-bit colour bitmap the alpha decides; the mask is all "draw".
    const std::vector<std::uint8_t> clear(MaskRowBytes(size) * static_cast<std::size_t>(size), 0);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, clear.data());
    HICON icon = nullptr;
    if (mask != nullptr) {
        ICONINFO info{};
        info.fIcon = TRUE;
        info.hbmMask = mask;
        info.hbmColor = colour;
        icon = CreateIconIndirect(&info);
        DeleteObject(mask);
    }
    DeleteObject(colour);
    return icon;
}

}  // namespace

HICON MarkedIcon(HICON base, const platform::TrayMark& mark) {
    int size = 0;
    std::vector<Pixel> pixels = IconPixels(base, size);
    if (pixels.empty() || size <= 0) {
        return nullptr;
    }
    if (mark.kind == platform::TrayMark::Kind::Paused) {
        Grey(pixels);
    }
    Canvas canvas(pixels, size);
    PaintBadge(canvas, mark);
    return MakeIcon(pixels, size);
}

}  // namespace vantorel::win32
