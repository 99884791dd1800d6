#include "common/png.h"

#include <png.h>

namespace {

void appendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

} // namespace

namespace {

std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint8_t>& pixels,
                               int colourType, size_t bytesPerPixel) {
    std::vector<uint8_t> out;
    if (width <= 0 || height <= 0 || pixels.size() < size_t(width) * size_t(height) * bytesPerPixel)
        return out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return out;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return {};
    }
    png_set_write_fn(png, &out, appendToVector, noFlush);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, pixels.data() + size_t(y) * size_t(width) * bytesPerPixel);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace

std::vector<uint8_t> encodeRgbPng(int width, int height, const std::vector<uint8_t>& rgb) {
    return encodePng(width, height, rgb, PNG_COLOR_TYPE_RGB, 3);
}

std::vector<uint8_t> encodeRgbaPng(int width, int height, const std::vector<uint8_t>& rgba) {
    return encodePng(width, height, rgba, PNG_COLOR_TYPE_RGB_ALPHA, 4);
}
