#include "common/png.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

const std::array<uint32_t, 256>& crcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void putU32BigEndian(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value >> 24));
    out.push_back(static_cast<uint8_t>(value >> 16));
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void putChunk(std::vector<uint8_t>& out, std::string_view type, const std::vector<uint8_t>& data) {
    putU32BigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t typeStart = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    const uint32_t crc =
        crc32Of(std::span<const uint8_t>(out.data() + typeStart, out.size() - typeStart));
    putU32BigEndian(out, crc);
}

// A zlib stream of stored deflate blocks (each at most 65535 bytes).
std::vector<uint8_t> storedZlibStream(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out{0x78, 0x01};
    size_t offset = 0;
    do {
        const size_t length = std::min<size_t>(65535, raw.size() - offset);
        const bool last = offset + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + offset, raw.begin() + offset + length);
        offset += length;
    } while (offset < raw.size());
    putU32BigEndian(out, adler32Of(raw));
    return out;
}

} // namespace

uint32_t crc32Of(std::span<const uint8_t> bytes, uint32_t crc) {
    const auto& table = crcTable();
    crc = ~crc;
    for (uint8_t byte : bytes)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t adler32Of(std::span<const uint8_t> bytes) {
    uint32_t a = 1, b = 0;
    for (uint8_t byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

std::vector<uint8_t> encodeRgbPng(int width, int height, const std::vector<uint8_t>& rgb) {
    std::vector<uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

    std::vector<uint8_t> header;
    putU32BigEndian(header, static_cast<uint32_t>(width));
    putU32BigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(),
                  {8, 2, 0, 0, 0}); // 8-bit RGB, deflate, no filter choice, no interlace
    putChunk(out, "IHDR", header);

    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * height);
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        raw.insert(raw.end(), rgb.begin() + rowBytes * y, rgb.begin() + rowBytes * (y + 1));
    }
    putChunk(out, "IDAT", storedZlibStream(raw));
    putChunk(out, "IEND", {});
    return out;
}
