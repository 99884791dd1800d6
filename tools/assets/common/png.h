// Minimal PNG writer for review pictures: 8-bit RGB, stored (uncompressed)
// deflate blocks, so no compression library is needed.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

uint32_t crc32Of(std::span<const uint8_t> bytes, uint32_t crc = 0);
uint32_t adler32Of(std::span<const uint8_t> bytes);

// rgb holds width * height * 3 bytes, top row first.
std::vector<uint8_t> encodeRgbPng(int width, int height, const std::vector<uint8_t>& rgb);
