#include "common/png.h"

#include "formats/picture_files.h"

std::vector<uint8_t> encodeRgbPng(int width, int height, const std::vector<uint8_t>& rgb) {
    return encodePng(width, height, rgb, 3);
}

std::vector<uint8_t> encodeRgbaPng(int width, int height, const std::vector<uint8_t>& rgba) {
    return encodePng(width, height, rgba, 4);
}
