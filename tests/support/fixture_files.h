// Small files that tests make for themselves: folders, 8-bit pictures.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct Rgb {
    uint8_t red, green, blue;
};

// A fresh, empty folder of its own under the system's temporary folder,
// removed when the test program ends.
std::filesystem::path makeTempFolder(const std::string& name);

// Writes an 8-bit BMP with a full 256-entry colour table right behind a
// 40-byte information header (the layout pal.bmp must have).
void writeIndexedBmp(const std::filesystem::path& file, int width, int height,
                     const std::vector<Rgb>& palette, const std::vector<uint8_t>& pixels);

// A test palette: index 0 black, then distinct colours; fixed entries for
// white (255), greys, red, dark blue, as the game's scenes use them.
std::vector<Rgb> testPalette();

// A 16-bit mono PCM WAVE file of a quiet tone lasting the given time.
void writeToneWave(const std::filesystem::path& file, uint32_t milliseconds);

// A standard MIDI file of one quarter note.
void writeMidiFile(const std::filesystem::path& file);

void writeTextFile(const std::filesystem::path& file, const std::string& text);
std::string readTextFile(const std::filesystem::path& file);

// Changes the current folder for the lifetime of the object.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::filesystem::path& folder);
    ~CurrentFolder();

  private:
    std::filesystem::path previous_;
};
