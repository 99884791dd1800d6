// Pictures as the game stores them: one palette index per pixel, top row first.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

using Palette = std::array<Rgb, 256>;

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width * height, row-major from the top

    IndexedImage() = default;
    IndexedImage(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, 0) {}

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    void set(int x, int y, uint8_t index) { pixels[static_cast<size_t>(y) * width + x] = index; }
};
