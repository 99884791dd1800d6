#include "formats/picture_files.h"

#include <png.h>

namespace {

constexpr uint32_t FILE_HEADER_SIZE = 14;
constexpr uint32_t INFO_HEADER_SIZE = 40;
constexpr uint32_t PIXELS_PER_METRE = 2835; // 72 dots an inch

void putLittle(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

void appendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

} // namespace

std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint8_t>& pixels,
                               int channels) {
    std::vector<uint8_t> out;
    if (width <= 0 || height <= 0 || (channels != 3 && channels != 4) ||
        pixels.size() < size_t(width) * size_t(height) * size_t(channels))
        return out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return out;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return {};
    }
    png_set_write_fn(png, &out, appendToVector, noFlush);
    const int colourType = channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, pixels.data() + size_t(y) * size_t(width) * size_t(channels));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

uint32_t bmpRowBytes(int width, int bitsPerPixel) {
    return ((uint32_t(width) * uint32_t(bitsPerPixel) + 7) / 8 + 3) & ~3u;
}

void putBmpHeaders(std::vector<uint8_t>& out, int width, int height, int bitsPerPixel,
                   uint32_t coloursUsed) {
    const uint32_t pixelOffset = FILE_HEADER_SIZE + INFO_HEADER_SIZE + coloursUsed * 4;
    const uint32_t dataSize = bmpRowBytes(width, bitsPerPixel) * uint32_t(height);
    out.push_back('B');
    out.push_back('M');
    putLittle(out, pixelOffset + dataSize, 4);
    putLittle(out, 0, 4); // reserved
    putLittle(out, pixelOffset, 4);
    putLittle(out, INFO_HEADER_SIZE, 4);
    putLittle(out, uint32_t(width), 4);
    putLittle(out, uint32_t(height), 4); // positive: bottom-up
    putLittle(out, 1, 2);                // planes
    putLittle(out, uint32_t(bitsPerPixel), 2);
    putLittle(out, 0, 4); // uncompressed
    putLittle(out, dataSize, 4);
    putLittle(out, PIXELS_PER_METRE, 4);
    putLittle(out, PIXELS_PER_METRE, 4);
    putLittle(out, coloursUsed, 4);
    putLittle(out, 0, 4); // every colour important
}

std::vector<uint8_t> encodeRgbBmp(int width, int height, const std::vector<uint8_t>& rgb) {
    std::vector<uint8_t> out;
    putBmpHeaders(out, width, height, 24, 0);
    const uint32_t rowBytes = bmpRowBytes(width, 24);
    for (int y = height - 1; y >= 0; --y) {
        const uint8_t* row = &rgb[size_t(y) * size_t(width) * 3];
        for (int x = 0; x < width; ++x) {
            out.push_back(row[x * 3 + 2]);
            out.push_back(row[x * 3 + 1]);
            out.push_back(row[x * 3]);
        }
        for (uint32_t pad = uint32_t(width) * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    return out;
}
