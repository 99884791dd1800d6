#include "common/bmp.h"

#include "formats/picture_files.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kColourTableSize = 256 * 4;

uint32_t getU32(const std::vector<uint8_t>& in, size_t at) {
    return in[at] | (in[at + 1] << 8) | (in[at + 2] << 16) |
           (static_cast<uint32_t>(in[at + 3]) << 24);
}

uint16_t getU16(const std::vector<uint8_t>& in, size_t at) {
    return static_cast<uint16_t>(in[at] | (in[at + 1] << 8));
}

size_t rowStride(int width) {
    return (static_cast<size_t>(width) + 3) & ~static_cast<size_t>(3);
}

} // namespace

std::vector<uint8_t> encodeIndexedBmp(const IndexedImage& image, const Palette& palette) {
    const size_t stride = rowStride(image.width);
    const uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + kColourTableSize;
    const uint32_t pixelBytes = static_cast<uint32_t>(stride * image.height);

    std::vector<uint8_t> out;
    out.reserve(pixelOffset + pixelBytes);
    putBmpHeaders(out, image.width, image.height, 8, 256);
    for (const Rgb& colour : palette) {
        out.push_back(colour.blue);
        out.push_back(colour.green);
        out.push_back(colour.red);
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = image.pixels.data() + static_cast<size_t>(y) * image.width;
        out.insert(out.end(), row, row + image.width);
        out.resize(out.size() + (stride - image.width), 0);
    }
    return out;
}

bool decodeIndexedBmp(const std::vector<uint8_t>& bytes, IndexedImage& image, Palette& palette,
                      std::string& error) {
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
        error = "not a BMP file";
        return false;
    }
    const uint32_t pixelOffset = getU32(bytes, 10);
    const uint32_t infoSize = getU32(bytes, 14);
    const int32_t width = static_cast<int32_t>(getU32(bytes, 18));
    const int32_t rawHeight = static_cast<int32_t>(getU32(bytes, 22));
    const uint16_t bitsPerPixel = getU16(bytes, 28);
    const uint32_t compression = getU32(bytes, 30);
    uint32_t coloursUsed = getU32(bytes, 46);
    if (infoSize < kInfoHeaderSize || bitsPerPixel != 8 || compression != 0) {
        error = "not an uncompressed 8-bit BMP";
        return false;
    }
    if (width <= 0 || rawHeight == 0 || width > 16384 || std::abs(rawHeight) > 16384) {
        error = "implausible BMP size";
        return false;
    }
    if (coloursUsed == 0 || coloursUsed > 256) coloursUsed = 256;
    const size_t tableOffset = kFileHeaderSize + infoSize;
    if (tableOffset + coloursUsed * 4 > bytes.size()) {
        error = "BMP colour table is cut short";
        return false;
    }
    palette = Palette{};
    for (uint32_t i = 0; i < coloursUsed; ++i) {
        const size_t at = tableOffset + i * 4;
        palette[i] = Rgb{bytes[at + 2], bytes[at + 1], bytes[at]};
    }

    const bool bottomUp = rawHeight > 0;
    const int height = bottomUp ? rawHeight : -rawHeight;
    const size_t stride = rowStride(width);
    if (pixelOffset > bytes.size() || bytes.size() - pixelOffset < stride * height) {
        error = "BMP pixel data is cut short";
        return false;
    }
    image = IndexedImage(width, height);
    for (int row = 0; row < height; ++row) {
        const int y = bottomUp ? height - 1 - row : row;
        const uint8_t* source = bytes.data() + pixelOffset + stride * row;
        std::copy(source, source + width, image.pixels.begin() + static_cast<size_t>(y) * width);
    }
    return true;
}
