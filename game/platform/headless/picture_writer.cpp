#include "platform/headless/picture_writer.h"

#include <array>
#include <cstdio>
#include <fstream>

namespace {

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
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
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putBig32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

void putLittle(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    putBig32(out, uint32_t(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    putBig32(out, crc32(body.data(), body.size()));
}

std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint8_t>& rgb) {
    std::vector<uint8_t> raw;
    raw.reserve(size_t(height) * (size_t(width) * 3 + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        const uint8_t* row = &rgb[size_t(y) * size_t(width) * 3];
        raw.insert(raw.end(), row, row + size_t(width) * 3);
    }
    // zlib stream of stored blocks.
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t pos = 0;
    do {
        size_t n = std::min<size_t>(65535, raw.size() - pos);
        bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        putLittle(z, uint32_t(n), 2);
        putLittle(z, uint32_t(~n & 0xFFFF), 2);
        z.insert(z.end(), raw.begin() + long(pos), raw.begin() + long(pos + n));
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    putBig32(z, (b << 16) | a);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putBig32(header, uint32_t(width));
    putBig32(header, uint32_t(height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", z);
    putChunk(out, "IEND", {});
    return out;
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

} // namespace

bool writePicture(const std::string& fileName, int width, int height,
                  const std::vector<uint8_t>& rgb) {
    if (width <= 0 || height <= 0 || rgb.size() < size_t(width) * size_t(height) * 3) return false;
    std::vector<uint8_t> bytes =
        endsWith(fileName, ".bmp") ? encodeBmp(width, height, rgb) : encodePng(width, height, rgb);
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}
