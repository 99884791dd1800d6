#include "platform/headless/picture_file.h"

#include "formats/picture_files.h"

#include <png.h>

#include <fstream>

namespace {

bool endsWith(const std::string& s, const std::string& suffix) {
    if (s.size() < suffix.size()) return false;
    for (size_t i = 0; i < suffix.size(); ++i) {
        char c = s[s.size() - suffix.size() + i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != suffix[i]) return false;
    }
    return true;
}

bool writeBytes(const std::string& fileName, const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return false;
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file.flush());
}

} // namespace

bool writePicture(const std::string& fileName, int width, int height,
                  const std::vector<uint8_t>& rgb) {
    if (width <= 0 || height <= 0 || rgb.size() < size_t(width) * size_t(height) * 3) return false;
    return writeBytes(fileName, endsWith(fileName, ".bmp") ? encodeRgbBmp(width, height, rgb)
                                                           : encodePng(width, height, rgb, 3));
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
