#include "platform/loaders/bmp_check.h"

#include <cstdint>

namespace {

constexpr size_t FILE_HEADER_BYTES = 14;
constexpr uint32_t CORE_HEADER_BYTES = 12;
constexpr uint32_t INFO_HEADER_BYTES = 40;
constexpr size_t PALETTE_OFFSET = FILE_HEADER_BYTES + INFO_HEADER_BYTES; // 54
constexpr size_t PALETTE_BYTES = 256 * 4;

enum Compression : uint32_t {
    COMPRESSION_NONE = 0,
    COMPRESSION_RLE8 = 1,
    COMPRESSION_RLE4 = 2,
    COMPRESSION_BITFIELDS = 3,
};

uint32_t littleEndian(std::string_view bytes, size_t at, size_t count) {
    uint32_t value = 0;
    for (size_t i = count; i-- > 0;)
        value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

bool knownHeaderSize(uint32_t size) {
    switch (size) {
    case CORE_HEADER_BYTES: // OS/2 1.x
    case INFO_HEADER_BYTES:
    case 52: // with colour masks
    case 56: // with alpha mask too
    case 64: // OS/2 2.x
    case 108:
    case 124:
        return true;
    default:
        return false;
    }
}

bool knownDepth(uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool compressionFitsDepth(uint32_t compression, uint32_t bits) {
    switch (compression) {
    case COMPRESSION_NONE:
        return true;
    case COMPRESSION_RLE8:
        return bits == 8;
    case COMPRESSION_RLE4:
        return bits == 4;
    case COMPRESSION_BITFIELDS:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

} // namespace

bool bmpFitsFile(std::string_view bytes, int maxSide) {
    if (bytes.size() < FILE_HEADER_BYTES + 4 || bytes.substr(0, 2) != "BM") return false;
    const uint64_t pixelOffset = littleEndian(bytes, 10, 4);
    const uint32_t headerSize = littleEndian(bytes, 14, 4);
    if (!knownHeaderSize(headerSize) || bytes.size() < FILE_HEADER_BYTES + headerSize) return false;

    int64_t width = 0, height = 0;
    uint32_t planes = 0, bits = 0, compression = COMPRESSION_NONE, coloursUsed = 0;
    size_t colourEntryBytes = 4;
    if (headerSize == CORE_HEADER_BYTES) {
        width = littleEndian(bytes, 18, 2);
        height = littleEndian(bytes, 20, 2);
        planes = littleEndian(bytes, 22, 2);
        bits = littleEndian(bytes, 24, 2);
        colourEntryBytes = 3;
    } else {
        width = int32_t(littleEndian(bytes, 18, 4));
        height = int32_t(littleEndian(bytes, 22, 4));
        planes = littleEndian(bytes, 26, 2);
        bits = littleEndian(bytes, 28, 2);
        compression = littleEndian(bytes, 30, 4);
        coloursUsed = littleEndian(bytes, 46, 4);
    }
    if (height < 0) height = -height; // rows stored top to bottom
    if (width < 1 || height < 1 || width > maxSide || height > maxSide) return false;
    if (planes != 1 || !knownDepth(bits) || !compressionFitsDepth(compression, bits)) return false;

    // The colour table (and a BITFIELDS header's masks) follow the header.
    uint64_t tableEnd = FILE_HEADER_BYTES + headerSize;
    if (compression == COMPRESSION_BITFIELDS && headerSize == INFO_HEADER_BYTES) tableEnd += 12;
    if (bits <= 8) {
        const uint32_t most = 1u << bits;
        if (coloursUsed > most) return false;
        tableEnd += uint64_t(coloursUsed == 0 ? most : coloursUsed) * colourEntryBytes;
    }
    if (tableEnd > bytes.size() || pixelOffset < FILE_HEADER_BYTES + headerSize) return false;

    if (compression == COMPRESSION_RLE8 || compression == COMPRESSION_RLE4)
        return pixelOffset < bytes.size(); // runs decode into the bounded picture
    const uint64_t rowBytes = (uint64_t(width) * bits + 31) / 32 * 4;
    return pixelOffset + rowBytes * uint64_t(height) <= bytes.size();
}

bool bmpHasFullColourTable(std::string_view bytes) {
    if (bytes.size() < PALETTE_OFFSET + PALETTE_BYTES || bytes.substr(0, 2) != "BM") return false;
    const uint32_t coloursUsed = littleEndian(bytes, 46, 4);
    return littleEndian(bytes, 14, 4) == INFO_HEADER_BYTES && littleEndian(bytes, 28, 2) == 8 &&
           (coloursUsed == 0 || coloursUsed == 256);
}
