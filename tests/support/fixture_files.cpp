#include "support/fixture_files.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace {
// Folders made by this test program, removed when it ends.
std::vector<std::filesystem::path>& madeFolders() {
    static std::vector<std::filesystem::path> folders;
    static const bool registered = [] {
        std::atexit([] {
            std::error_code ignored;
            for (const auto& folder : madeFolders())
                std::filesystem::remove_all(folder, ignored);
        });
        return true;
    }();
    (void)registered;
    return folders;
}
} // namespace

std::filesystem::path makeTempFolder(const std::string& name) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("velta-test-" + name + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a folder for " + name);
    madeFolders().push_back(pattern);
    return pattern;
}

namespace {
void put(std::ofstream& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.put(char((value >> (8 * i)) & 0xFF));
}
} // namespace

void writeIndexedBmp(const std::filesystem::path& file, int width, int height,
                     const std::vector<Rgb>& palette, const std::vector<uint8_t>& pixels) {
    const uint32_t rowBytes = (uint32_t(width) + 3) & ~3u;
    const uint32_t dataOffset = 14 + 40 + 256 * 4;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.put('B');
    out.put('M');
    put(out, dataOffset + rowBytes * uint32_t(height), 4);
    put(out, 0, 4);
    put(out, dataOffset, 4);
    put(out, 40, 4);
    put(out, uint32_t(width), 4);
    put(out, uint32_t(height), 4);
    put(out, 1, 2);
    put(out, 8, 2);
    put(out, 0, 4);
    put(out, rowBytes * uint32_t(height), 4);
    put(out, 2835, 4);
    put(out, 2835, 4);
    put(out, 256, 4);
    put(out, 0, 4);
    for (int i = 0; i < 256; ++i) {
        const Rgb c = i < int(palette.size()) ? palette[size_t(i)] : Rgb{0, 0, 0};
        out.put(char(c.blue));
        out.put(char(c.green));
        out.put(char(c.red));
        out.put(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x)
            out.put(char(pixels[size_t(y) * size_t(width) + size_t(x)]));
        for (uint32_t pad = uint32_t(width); pad < rowBytes; ++pad)
            out.put(0);
    }
}

std::vector<Rgb> testPalette() {
    std::vector<Rgb> palette(256);
    for (int i = 1; i < 256; ++i)
        palette[size_t(i)] = {uint8_t((i * 37) & 0xFF), uint8_t((i * 91 + 40) & 0xFF),
                              uint8_t((i * 53 + 90) & 0xFF)};
    palette[0] = {0, 0, 0};
    palette[250] = {0x7F, 0x7F, 0x7F};
    palette[251] = {0xBF, 0xBF, 0xBF};
    palette[252] = {0xFF, 0x00, 0x00};
    palette[253] = {0x00, 0x00, 0x80};
    palette[254] = {0x00, 0x00, 0xFF};
    palette[255] = {0xFF, 0xFF, 0xFF};
    palette[249] = {8, 8, 8}; // opaque black
    return palette;
}

void writeToneWave(const std::filesystem::path& file, uint32_t milliseconds) {
    const uint32_t rate = 22050;
    const uint32_t samples = rate * milliseconds / 1000;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write("RIFF", 4);
    put(out, 36 + samples * 2, 4);
    out.write("WAVEfmt ", 8);
    put(out, 16, 4);
    put(out, 1, 2);
    put(out, 1, 2);
    put(out, rate, 4);
    put(out, rate * 2, 4);
    put(out, 2, 2);
    put(out, 16, 2);
    out.write("data", 4);
    put(out, samples * 2, 4);
    for (uint32_t i = 0; i < samples; ++i)
        put(out, (i / 25) % 2 ? 2000u : uint32_t(-2000), 2);
}

void writeTextFile(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string readTextFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

CurrentFolder::CurrentFolder(const std::filesystem::path& folder)
    : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
}

CurrentFolder::~CurrentFolder() {
    std::filesystem::current_path(previous_);
}

void writeMidiFile(const std::filesystem::path& file) {
    // clang-format off
    const std::string bytes = {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
        'M', 'T', 'r', 'k', 0, 0, 0, 12,
        0x00, char(0x90), 60, 100,  // note on
        0x60, char(0x80), 60, 0,    // note off a quarter later
        0x00, char(0xFF), 0x2F, 0,  // end of track
    };
    // clang-format on
    std::filesystem::create_directories(file.parent_path());
    writeTextFile(file, bytes);
}
