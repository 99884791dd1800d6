// An 8-bit picture in memory: the back buffer, the primary and every sheet.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

struct Surface {
    int width = 0;
    int height = 0;
    int pitch = 0; // bytes per row
    std::vector<uint8_t> pixels;

    Surface() = default;
    Surface(int w, int h)
        : width(w), height(h), pitch(w), pixels(std::size_t(w) * std::size_t(h), 0) {}

    uint8_t* row(int y) { return pixels.data() + std::size_t(y) * std::size_t(pitch); }
    const uint8_t* row(int y) const { return pixels.data() + std::size_t(y) * std::size_t(pitch); }
    uint8_t at(int x, int y) const { return row(y)[x]; }
    void fill(uint8_t index) { std::fill(pixels.begin(), pixels.end(), index); }
};
