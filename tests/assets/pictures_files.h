// Reading helpers for the picture tests: an 8-bit BMP reader written apart from the
// builder's, palette.txt, and the enemy definition profile files.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace pictures_test {

struct Colour {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Colour&) const = default;
};

struct Bitmap {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::array<Colour, 256> table{};
    std::vector<uint8_t> pixels; // top row first

    uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline uint32_t u32(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
           static_cast<uint8_t>(b[at + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

// Only what the game's sheets are: uncompressed, 8-bit, bottom-up, 256-entry table at 54.
inline std::optional<Bitmap> readBitmap(const std::string& path) {
    const auto bytes = readFile(path);
    if (!bytes || bytes->size() < 54 + 1024 || (*bytes)[0] != 'B' || (*bytes)[1] != 'M')
        return std::nullopt;
    Bitmap bmp;
    bmp.width = static_cast<int32_t>(u32(*bytes, 18));
    bmp.height = static_cast<int32_t>(u32(*bytes, 22));
    bmp.bitsPerPixel = static_cast<uint8_t>((*bytes)[28]);
    if (u32(*bytes, 14) != 40 || bmp.bitsPerPixel != 8 || u32(*bytes, 30) != 0 || bmp.width <= 0 ||
        bmp.height <= 0)
        return std::nullopt;
    for (int i = 0; i < 256; ++i) {
        const size_t at = 54 + 4 * i;
        bmp.table[i] = {static_cast<uint8_t>((*bytes)[at + 2]),
                        static_cast<uint8_t>((*bytes)[at + 1]), static_cast<uint8_t>((*bytes)[at])};
    }
    const size_t stride = (static_cast<size_t>(bmp.width) + 3) & ~size_t(3);
    const size_t offset = u32(*bytes, 10);
    if (offset + stride * bmp.height > bytes->size()) return std::nullopt;
    bmp.pixels.resize(static_cast<size_t>(bmp.width) * bmp.height);
    for (int y = 0; y < bmp.height; ++y)
        for (int x = 0; x < bmp.width; ++x)
            bmp.pixels[static_cast<size_t>(y) * bmp.width + x] =
                static_cast<uint8_t>((*bytes)[offset + stride * (bmp.height - 1 - y) + x]);
    return bmp;
}

// palette.txt: "<index> <name> <RRGGBB>" lines.
inline std::optional<std::array<Colour, 256>> readPaletteSource(const std::string& path) {
    const auto text = readFile(path);
    if (!text) return std::nullopt;
    std::array<Colour, 256> colours{};
    std::array<bool, 256> seen{};
    std::istringstream lines(*text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        int index;
        std::string name, hex;
        if (line.empty() || line[0] == '#' || !(words >> index >> name >> hex)) continue;
        if (index < 0 || index > 255 || hex.size() != 6) return std::nullopt;
        const unsigned long rgb = std::stoul(hex, nullptr, 16);
        colours[index] = {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                          static_cast<uint8_t>(rgb)};
        seen[index] = true;
    }
    for (bool s : seen)
        if (!s) return std::nullopt;
    return colours;
}

// A profile file as section -> key -> value (first occurrence wins).
using Profile = std::map<std::string, std::map<std::string, std::string>>;

inline Profile readProfile(const std::string& text) {
    Profile profile;
    std::string section, line;
    std::istringstream lines(text);
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const size_t eq = line.find('=');
        if (eq != std::string::npos)
            profile[section].emplace(line.substr(0, eq), line.substr(eq + 1));
    }
    return profile;
}

} // namespace pictures_test
