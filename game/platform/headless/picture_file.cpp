#include "platform/headless/picture_file.h"

#include <png.h>

#include <cstdio>
#include <fstream>
#include <memory>

namespace {

void putLittle(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

std::vector<uint8_t> encodeBmp(int width, int height, const std::vector<uint8_t>& rgb) {
    const uint32_t rowBytes = (uint32_t(width) * 3 + 3) & ~3u;
    const uint32_t dataSize = rowBytes * uint32_t(height);
    std::vector<uint8_t> out = {'B', 'M'};
    putLittle(out, 54 + dataSize, 4);
    putLittle(out, 0, 4);
    putLittle(out, 54, 4);
    putLittle(out, 40, 4);
    putLittle(out, uint32_t(width), 4);
    putLittle(out, uint32_t(height), 4);
    putLittle(out, 1, 2);
    putLittle(out, 24, 2);
    putLittle(out, 0, 4);
    putLittle(out, dataSize, 4);
    putLittle(out, 2835, 4);
    putLittle(out, 2835, 4);
    putLittle(out, 0, 4);
    putLittle(out, 0, 4);
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

bool endsWith(const std::string& s, const std::string& suffix) {
    if (s.size() < suffix.size()) return false;
    for (size_t i = 0; i < suffix.size(); ++i) {
        char c = s[s.size() - suffix.size() + i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != suffix[i]) return false;
    }
    return true;
}

// A FILE that closes itself.
struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

bool writePng(const std::string& fileName, int width, int height, const std::vector<uint8_t>& rgb) {
    File file(std::fopen(fileName.c_str(), "wb"));
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rgb.data() + size_t(y) * size_t(width) * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fflush(file.get()) == 0 && !std::ferror(file.get());
}

bool writeBmp(const std::string& fileName, int width, int height, const std::vector<uint8_t>& rgb) {
    const std::vector<uint8_t> bytes = encodeBmp(width, height, rgb);
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}

} // namespace

bool writePicture(const std::string& fileName, int width, int height,
                  const std::vector<uint8_t>& rgb) {
    if (width <= 0 || height <= 0 || rgb.size() < size_t(width) * size_t(height) * 3) return false;
    return endsWith(fileName, ".bmp") ? writeBmp(fileName, width, height, rgb)
                                      : writePng(fileName, width, height, rgb);
}

bool readPngPicture(const std::string& fileName, int& width, int& height,
                    std::vector<uint8_t>& rgb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, fileName.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    width = int(image.width);
    height = int(image.height);
    rgb = std::move(pixels);
    return true;
}
