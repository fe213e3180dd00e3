#include "platform/win32/rcgen/IconFile.h"

#include <stdexcept>

namespace vantorel::win32::rcgen {

namespace {

constexpr int kDirectoryBytes = 6;
constexpr int kEntryBytes = 16;
constexpr int kBitmapHeaderBytes = 40;
constexpr int kBitsPerPixel = 32;
constexpr int kBytesPerPixel = 4;
constexpr int kLargestIcon = 256;  // stored as 0 in the directory
constexpr std::uint16_t kIconType = 1;
constexpr int kAlpha = 3;

void Put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// Mask rows are padded to whole 32-bit words.
int MaskRowBytes(int size) {
    return ((size + 31) / 32) * 4;
}

int ImageBytes(int size) {
    return kBitmapHeaderBytes + size * size * kBytesPerPixel + MaskRowBytes(size) * size;
}

// One image as a device-independent bitmap: header, colour rows bottom-up
// in blue-green-red-alpha order, then the mask rows (1 = transparent).
std::string ImageData(const IconPixels& image) {
    const int size = image.size;
    std::string out;
    Put32(out, kBitmapHeaderBytes);
    Put32(out, static_cast<std::uint32_t>(size));
    Put32(out, static_cast<std::uint32_t>(size * 2));  // colour and mask stacked
    Put16(out, 1);                                     // planes
    Put16(out, kBitsPerPixel);
    Put32(out, 0);  // no compression
    Put32(out, static_cast<std::uint32_t>(ImageBytes(size) - kBitmapHeaderBytes));
    for (int unused = 0; unused < 4; ++unused) {
        Put32(out, 0);  // resolution and palette: none
    }
    for (int row = size - 1; row >= 0; --row) {
        for (int column = 0; column < size; ++column) {
            const auto* pixel = &image.rgba[static_cast<std::size_t>((row * size + column) * 4)];
            out += static_cast<char>(pixel[2]);
            out += static_cast<char>(pixel[1]);
            out += static_cast<char>(pixel[0]);
            out += static_cast<char>(pixel[kAlpha]);
        }
    }
    for (int row = size - 1; row >= 0; --row) {
        std::string maskRow(static_cast<std::size_t>(MaskRowBytes(size)), '\0');
        for (int column = 0; column < size; ++column) {
            const auto alpha =
                image.rgba[static_cast<std::size_t>((row * size + column) * 4 + kAlpha)];
            if (alpha == 0) {
                maskRow[static_cast<std::size_t>(column / 8)] |=
                    static_cast<char>(0x80 >> (column % 8));
            }
        }
        out += maskRow;
    }
    return out;
}

}  // namespace

std::string IconFileBytes(const std::vector<IconPixels>& images) {
    std::string out;
    Put16(out, 0);
    Put16(out, kIconType);
    Put16(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset =
        kDirectoryBytes + kEntryBytes * static_cast<std::uint32_t>(images.size());
    for (const IconPixels& image : images) {
        if (image.size <= 0 || image.size > kLargestIcon ||
            image.rgba.size() !=
                static_cast<std::size_t>(image.size * image.size * kBytesPerPixel)) {
            throw std::invalid_argument("icon image of size " + std::to_string(image.size) +
                                        " has " + std::to_string(image.rgba.size()) + " bytes");
        }
        const auto side = static_cast<char>(image.size == kLargestIcon ? 0 : image.size);
        out += side;
        out += side;
        out += '\0';  // no palette
        out += '\0';
        Put16(out, 1);  // planes
        Put16(out, kBitsPerPixel);
        Put32(out, static_cast<std::uint32_t>(ImageBytes(image.size)));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(ImageBytes(image.size));
    }
    for (const IconPixels& image : images) {
        out += ImageData(image);
    }
    return out;
}

}  // namespace vantorel::win32::rcgen
