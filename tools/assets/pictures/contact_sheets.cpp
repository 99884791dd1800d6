// velta_assets contact: every BMP of the game folder enlarged, with a cell grid and
// a checkerboard where index 0 (transparent) lies, as <out dir>/<sheet>.png.
#include "builders.h"

#include "common/bmp.h"
#include "common/file_io.h"
#include "common/png.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

struct ContactLayout {
    int scale;
    int grid; // source pixels between grid lines
};

ContactLayout layoutFor(const std::string& stem, const IndexedImage& image) {
    if (stem == "pal") return {16, 1};
    const int scale = std::max(image.width, image.height) <= 128 ? 4 : 3;
    const int grid = (stem == "beam" || stem == "effect") ? 8 : 16;
    return {scale, grid};
}

std::vector<uint8_t> renderContact(const IndexedImage& image, const Palette& palette,
                                   ContactLayout layout, int& outWidth, int& outHeight) {
    outWidth = image.width * layout.scale + 1;
    outHeight = image.height * layout.scale + 1;
    std::vector<uint8_t> rgb(static_cast<size_t>(outWidth) * outHeight * 3);
    const int cellPixels = layout.grid * layout.scale;
    const int check = std::max(2, layout.scale * 2);
    for (int y = 0; y < outHeight; ++y) {
        for (int x = 0; x < outWidth; ++x) {
            uint8_t* out = &rgb[(static_cast<size_t>(y) * outWidth + x) * 3];
            if (x % cellPixels == 0 || y % cellPixels == 0) {
                out[0] = 0xFF, out[1] = 0x40, out[2] = 0xC0; // grid: a colour no sheet uses
                continue;
            }
            const int sx = std::min(x / layout.scale, image.width - 1);
            const int sy = std::min(y / layout.scale, image.height - 1);
            const uint8_t index = image.at(sx, sy);
            if (index == 0) {
                const uint8_t shade = ((x / check + y / check) % 2) ? 0x50 : 0x68;
                out[0] = out[1] = out[2] = shade;
            } else {
                out[0] = palette[index].red, out[1] = palette[index].green,
                out[2] = palette[index].blue;
            }
        }
    }
    return rgb;
}

} // namespace

int writeContactSheets(const std::string& gameDir, const std::string& outDir) {
    std::vector<fs::path> sheets;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(gameDir, ec))
        if (entry.is_regular_file() && entry.path().extension() == ".bmp")
            sheets.push_back(entry.path());
    if (ec) {
        std::fprintf(stderr, "contact: cannot list %s: %s\n", gameDir.c_str(),
                     ec.message().c_str());
        return 1;
    }
    std::sort(sheets.begin(), sheets.end());
    if (sheets.empty()) {
        std::fprintf(stderr, "contact: no .bmp files in %s\n", gameDir.c_str());
        return 1;
    }
    int failures = 0;
    for (const fs::path& path : sheets) {
        const auto bytes = readFileBytes(path.string());
        IndexedImage image;
        Palette palette;
        std::string error;
        if (!bytes || !decodeIndexedBmp(*bytes, image, palette, error)) {
            std::fprintf(stderr, "contact: %s: %s\n", path.string().c_str(),
                         bytes ? error.c_str() : "cannot read");
            ++failures;
            continue;
        }
        const std::string stem = path.stem().string();
        int width = 0, height = 0;
        const auto rgb = renderContact(image, palette, layoutFor(stem, image), width, height);
        const fs::path out = fs::path(outDir) / (stem + ".png");
        if (!writeFileIfChanged(out.string(), encodeRgbPng(width, height, rgb), error)) {
            std::fprintf(stderr, "contact: %s\n", error.c_str());
            ++failures;
            continue;
        }
        std::printf("contact: %s\n", out.string().c_str());
    }
    return failures == 0 ? 0 : 1;
}
