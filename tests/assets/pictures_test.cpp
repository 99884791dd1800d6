// The built pictures and enemy definitions, checked as the game will read them,
// and the picture builder's handling of broken sources.
#include "assets/asset_builder_run.h"
#include "assets/pictures_files.h"

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace pictures_test;

namespace {

const std::string kDist = VELTA_DIST_DIR;
const std::string kSource = VELTA_SOURCE_DIR;

struct SheetSize {
    const char* file;
    int width;
    int height;
};

constexpr SheetSize kSheets[] = {{"chr.bmp", 256, 256},    {"mapobj.bmp", 256, 256},
                                 {"beam.bmp", 64, 64},     {"enemy.bmp", 128, 128},
                                 {"effect.bmp", 256, 256}, {"tt.bmp", 256, 256}};

std::array<Colour, 256> sourcePalette() {
    const auto palette = readPaletteSource(kSource + "/assets/pictures/palette.txt");
    if (!palette) ADD_FAILURE() << "palette.txt is unreadable or incomplete";
    return palette.value_or(std::array<Colour, 256>{});
}

// The game maps colours to the nearest entry, the lowest index winning ties.
int nearestIndex(const std::array<Colour, 256>& palette, Colour c) {
    int best = -1, bestDistance = 3 * 255 * 255;
    for (int i = 0; i < 256; ++i) {
        const int dr = palette[i].r - c.r, dg = palette[i].g - c.g, db = palette[i].b - c.b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) best = i, bestDistance = distance;
    }
    return best;
}

TEST(PictureSheets, HaveTheirSizeAndTheGamePalette) {
    const auto palette = sourcePalette();
    for (const SheetSize& sheet : kSheets) {
        SCOPED_TRACE(sheet.file);
        const auto bmp = readBitmap(kDist + "/" + sheet.file);
        ASSERT_TRUE(bmp) << "missing or not an 8-bit BMP with a 256-entry table";
        EXPECT_EQ(bmp->width, sheet.width);
        EXPECT_EQ(bmp->height, sheet.height);
        EXPECT_EQ(bmp->table, palette);
    }
}

TEST(PictureSheets, PaletteFileHoldsTheRequiredColours) {
    const auto raw = readFile(kDist + "/pal.bmp");
    ASSERT_TRUE(raw);
    ASSERT_GE(raw->size(), 54u + 1024u);
    const auto palette = sourcePalette();
    // Read as the game does: skip 54 bytes, then 256 entries of B, G, R, flags.
    for (int i = 0; i < 256; ++i) {
        const size_t at = 54 + 4 * i;
        const Colour entry{static_cast<uint8_t>((*raw)[at + 2]),
                           static_cast<uint8_t>((*raw)[at + 1]), static_cast<uint8_t>((*raw)[at])};
        EXPECT_EQ(entry, palette[i]) << "entry " << i;
        EXPECT_EQ((*raw)[at + 3], 0) << "flags of entry " << i;
    }
    EXPECT_EQ(palette[0], (Colour{0, 0, 0}));
    // The scenes draw with these colours; each must map onto itself exactly.
    const Colour drawn[] = {{0x7F, 0x7F, 0x7F},
                            {0xBF, 0xBF, 0xBF},
                            {0xFF, 0xFF, 0xFF},
                            {0xFF, 0x00, 0x00},
                            {0x00, 0x00, 0x80}};
    for (const Colour& c : drawn)
        EXPECT_EQ(palette[nearestIndex(palette, c)], c)
            << int(c.r) << "," << int(c.g) << "," << int(c.b);

    std::set<uint32_t> distinct;
    for (const Colour& c : palette)
        distinct.insert(c.r << 16 | c.g << 8 | c.b);
    EXPECT_EQ(distinct.size(), 256u)
        << "duplicate entries are unreachable by nearest-colour lookups";

    bool opaqueBlack = false;
    for (int i = 1; i < 256; ++i)
        opaqueBlack |= palette[i].r <= 16 && palette[i].g <= 16 && palette[i].b <= 16;
    EXPECT_TRUE(opaqueBlack) << "no opaque black for outlines";
}

struct Cell {
    const char* sheet;
    int x, y, w, h;
    std::string what;
};

std::vector<Cell> cellsTheGameDrawsFrom() {
    std::vector<Cell> cells;
    auto add = [&](const char* sheet, int x, int y, int w, int h, std::string what) {
        cells.push_back({sheet, x, y, w, h, std::move(what)});
    };
    // Player frames.
    for (int i = 0; i <= 5; ++i)
        add("chr.bmp", 16 + 16 * i, 0, 16, 32, "player frame " + std::to_string(i));
    for (int i = 0; i <= 4; ++i)
        add("chr.bmp", 16 * i, 32, 16, 32, "player frame " + std::to_string(6 + i));
    for (int i = 0; i <= 8; ++i)
        add("chr.bmp", 16 * i, 64, 16, 32, "player frame " + std::to_string(11 + i));
    for (int i = 0; i <= 4; ++i)
        add("chr.bmp", 16 * i, 128, 16, 32, "player frame " + std::to_string(20 + i));
    add("chr.bmp", 48, 96, 16, 32, "player frame 25");
    for (int i = 0; i <= 3; ++i)
        add("chr.bmp", 80 + 16 * i, 128, 16, 32, "player frame " + std::to_string(26 + i));
    add("chr.bmp", 0, 0, 16, 32, "player frame 30");
    // Projectiles, aim marker and gauge.
    for (int i = 0; i < 4; ++i)
        add("beam.bmp", 8 * (i % 2), 8 * (i / 2), 8, 8, "spanner frame " + std::to_string(i));
    for (int i = 0; i < 8; ++i)
        add("beam.bmp", 32 + 8 * (i % 4), 8 * (i / 4), 8, 8, "bomb frame " + std::to_string(i));
    add("beam.bmp", 0, 16, 15, 15, "aim marker");
    add("beam.bmp", 0, 32, 16, 8, "gauge top cap");
    add("beam.bmp", 0, 40, 16, 2, "gauge body");
    add("beam.bmp", 0, 48, 16, 16, "gauge bottom");
    // Effects, pop-ups and fonts.
    for (int i = 0; i < 3; ++i)
        add("effect.bmp", 16 * i, 0, 16, 16, "spark frame " + std::to_string(i));
    for (int i = 0; i < 8; ++i)
        add("effect.bmp", 32 * i, 32, 32, 32, "explosion frame " + std::to_string(i));
    add("effect.bmp", 0, 64, 32, 32, "explosion frame 8");
    add("effect.bmp", 32, 64, 32, 32, "explosion frame 9");
    add("effect.bmp", 48, 0, 8, 8, "debris");
    add("effect.bmp", 56, 0, 8, 8, "chain link");
    add("effect.bmp", 0, 224, 24, 8, "extra-life pop-up");
    for (int d = 0; d < 10; ++d)
        add("effect.bmp", 4 * d, 232, 4, 8, "digit " + std::to_string(d));
    const std::string glyphs = " ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-sxclh!._qe():a?";
    for (int g = 1; g <= 53; ++g) {
        const std::string name = g < 53 ? std::string(1, glyphs[g]) : "unknown-character";
        add("effect.bmp", (g % 32) * 8, 240 + (g / 32) * 8, 8, 8, "glyph " + name);
    }
    for (int level = 1; level <= 7; ++level)
        add("effect.bmp", 32 * level, 96, 32, 32, "transition tile " + std::to_string(level));
    // Map objects and tiles, at column kind mod 16, row kind div 16.
    for (int kind = 1; kind <= 63; ++kind) {
        if (kind == 5 || kind == 6 || kind == 16 || kind == 32 || kind == 45)
            continue; // never drawn
        add("mapobj.bmp", (kind % 16) * 16, (kind / 16) * 16, 16, 16,
            "map object " + std::to_string(kind));
    }
    // Title pictures.
    add("tt.bmp", 0, 0, 256, 96, "title logo");
    add("tt.bmp", 0, 96, 64, 128, "title picture 1");
    add("tt.bmp", 64, 96, 64, 64, "title picture 2");
    return cells;
}

TEST(PictureSheets, EveryCellTheGameDrawsFromHoldsPixels) {
    std::map<std::string, std::optional<Bitmap>> sheets;
    for (const Cell& cell : cellsTheGameDrawsFrom()) {
        auto& bmp = sheets[cell.sheet];
        if (!bmp) bmp = readBitmap(kDist + "/" + cell.sheet);
        if (!bmp) {
            ADD_FAILURE() << cell.sheet << " missing (" << cell.what << ")";
            continue;
        }
        ASSERT_LE(cell.x + cell.w, bmp->width) << cell.what;
        ASSERT_LE(cell.y + cell.h, bmp->height) << cell.what;
        bool drawn = false;
        for (int y = cell.y; y < cell.y + cell.h && !drawn; ++y)
            for (int x = cell.x; x < cell.x + cell.w && !drawn; ++x)
                drawn = bmp->at(x, y) != 0;
        EXPECT_TRUE(drawn) << cell.sheet << ": " << cell.what << " at (" << cell.x << "," << cell.y
                           << ") is empty";
    }
}

TEST(PictureSheets, DamageMarkIsARedStripInsideTheCap) {
    const auto bmp = readBitmap(kDist + "/beam.bmp");
    ASSERT_TRUE(bmp);
    for (int x = 4; x < 10; ++x)
        EXPECT_EQ(bmp->table[bmp->at(x, 36)], (Colour{0xFF, 0, 0})) << "x " << x;
}

TEST(PictureSheets, TransitionTilesDarkenStepByStep) {
    const auto bmp = readBitmap(kDist + "/effect.bmp");
    ASSERT_TRUE(bmp);
    int previous = -1;
    for (int level = 0; level <= 7; ++level) {
        int covered = 0;
        for (int y = 96; y < 128; ++y)
            for (int x = 32 * level; x < 32 * level + 32; ++x) {
                const uint8_t index = bmp->at(x, y);
                if (index == 0) continue;
                ++covered;
                const Colour c = bmp->table[index];
                EXPECT_TRUE(c.r <= 16 && c.g <= 16 && c.b <= 16)
                    << "level " << level << " has a non-black pixel";
            }
        if (level == 0) {
            EXPECT_EQ(covered, 0) << "level 0 must be fully transparent";
        }
        if (level == 7) {
            EXPECT_EQ(covered, 32 * 32) << "level 7 must be fully covered";
        }
        EXPECT_GT(covered, previous) << "level " << level << " is not darker than the one before";
        previous = covered;
    }
}

// The game's reading of a LINE value: frames from character 7, each two digits
// followed by ';' (end) or a separator. Empty when the value has no proper end.
std::vector<int> lineFrames(const std::string& value) {
    std::vector<int> frames;
    for (size_t at = 7; at + 2 < value.size(); at += 3) {
        if (!isdigit(static_cast<unsigned char>(value[at])) ||
            !isdigit(static_cast<unsigned char>(value[at + 1])))
            return {};
        frames.push_back((value[at] - '0') * 10 + value[at + 1] - '0');
        if (value[at + 2] == ';') return frames;
    }
    return {};
}

TEST(EnemyDefinitions, EveryKindNamesFramesThatExist) {
    const auto sheet = readBitmap(kDist + "/enemy.bmp");
    ASSERT_TRUE(sheet);
    for (int kind = 0; kind <= 13; ++kind) {
        char name[16];
        std::snprintf(name, sizeof name, "e%.2d.dat", kind);
        SCOPED_TRACE(name);
        const auto text = readFile(kDist + "/dat/" + name);
        ASSERT_TRUE(text);
        EXPECT_NE(text->find("\r\n"), std::string::npos) << "profile files use CRLF";
        Profile profile = readProfile(*text);
        auto& general = profile["GENERAL"];
        EXPECT_FALSE(general["NAME"].empty());
        int width = 0, height = 0, inset = -1;
        ASSERT_EQ(std::sscanf(general["SIZE"].c_str(), "%d,%d", &width, &height), 2);
        ASSERT_EQ(std::sscanf(general["YASE"].c_str(), "%d", &inset), 1);
        EXPECT_GT(width, 0);
        EXPECT_GT(height, 0);
        EXPECT_GE(inset, 0);
        EXPECT_LT(2 * inset, width);

        int frameCount = 0;
        for (; frameCount < 128; ++frameCount) {
            char key[16];
            std::snprintf(key, sizeof key, "%.2d", frameCount);
            const auto found = profile["PAT"].find(key);
            if (found == profile["PAT"].end()) break;
            int x = -1, y = -1;
            ASSERT_EQ(std::sscanf(found->second.c_str(), "%d,%d", &x, &y), 2) << "PAT " << key;
            ASSERT_TRUE(x >= 0 && y >= 0 && x + width <= sheet->width &&
                        y + height <= sheet->height)
                << "PAT " << key << " outside enemy.bmp";
            bool drawn = false;
            for (int py = y; py < y + height; ++py)
                for (int px = x; px < x + width; ++px)
                    drawn |= sheet->at(px, py) != 0;
            EXPECT_TRUE(drawn) << "PAT " << key << " is empty";
        }
        EXPECT_GT(frameCount, 0);
        EXPECT_EQ(profile["PAT"].size(), static_cast<size_t>(frameCount))
            << "PAT keys after a gap are never read";

        ASSERT_FALSE(profile["LINE"].empty());
        for (const auto& [key, value] : profile["LINE"]) {
            const auto frames = lineFrames(value);
            EXPECT_FALSE(frames.empty())
                << "LINE " << key << " '" << value << "' does not end in ';'";
            for (int frame : frames)
                EXPECT_LT(frame, frameCount) << "LINE " << key;
        }
        if (kind == 12) {
            ASSERT_EQ(profile["LINE"].count("01"), 1u) << "the thrower needs a throwing line";
            EXPECT_EQ(profile["LINE"]["00"].at(5), 'Y') << "walking loops";
            EXPECT_NE(profile["LINE"]["01"].at(5), 'Y') << "throwing ends";
        }
    }
}

// --- The builder itself, run on small source trees ---------------------------

class PictureBuilder : public ::testing::Test {
  protected:
    void SetUp() override {
        tool_ = VELTA_ASSET_BUILDER;
        ASSERT_TRUE(fs::exists(tool_)) << tool_;
        root_ = fs::temp_directory_path() / ("pictures_test_" + std::to_string(::getpid()));
        fs::remove_all(root_);
        write("pictures/palette.txt", paletteText());
        const char* sheets[][2] = {{"chr", "256 256"},   {"mapobj", "256 256"}, {"beam", "64 64"},
                                   {"enemy", "128 128"}, {"effect", "256 256"}, {"tt", "256 256"}};
        for (auto& s : sheets)
            write(std::string("pictures/") + s[0] + "/a.txt",
                  std::string("sheet ") + s[0] + ".bmp " + s[1] + "\nfill 0 0 16 16 ink\n");
    }
    void TearDown() override {
        if (!root_.empty()) fs::remove_all(root_);
    }

    static std::string paletteText() {
        std::string text = "# test palette\n";
        for (int i = 0; i < 256; ++i) {
            char line[40];
            std::snprintf(line, sizeof line, "%d c%d %02X%02X%02X\n", i, i, i, 255 - i, i / 2);
            text += i == 0 ? "0 clear 000000\n" : i == 2 ? "2 ink 080808\n" : line;
        }
        return text;
    }

    void write(const std::string& relative, const std::string& text) {
        const fs::path path = root_ / "assets" / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    // Runs the builder; returns its exit status and collects its messages.
    int build(std::string& output) {
        const asset_test::BuilderRun run = asset_test::runAssetBuilder(
            "pictures '" + (root_ / "assets").string() + "' '" + (root_ / "game").string() + "'");
        output += run.output;
        return run.status;
    }

    fs::path tool_;
    fs::path root_;
};

TEST_F(PictureBuilder, DrawsArtFillsAndFlippedCopies) {
    write("pictures/beam/b.txt",
          "sheet beam.bmp 64 64\nlegend\n. clear\nr c7\ng c9\nend\n"
          "art 20 20\nr.g\n r\n\n"            // the space leaves (21,21) as the fill left it
          "fill 21 21 1 1 c5\nart 21 21\n \n" // a row of one space ends the block at once
          "copy 20 20 3 2 30 30 flipx\ncopy 20 20 3 2 40 40 flipy\n");
    std::string output;
    ASSERT_EQ(build(output), 0) << output;
    const auto bmp = readBitmap((root_ / "game" / "beam.bmp").string());
    ASSERT_TRUE(bmp);
    // clang-format off
    struct Expect { int x, y, index; } expected[] = {
        {0, 0, 2}, {20, 20, 7}, {21, 20, 0}, {22, 20, 9}, {21, 21, 5},   // drawn
        {30, 30, 9}, {32, 30, 7}, {31, 31, 5}, {40, 40, 0}, {41, 40, 5}, // flipx, flipy
        {40, 41, 7}, {42, 41, 9}};
    // clang-format on
    for (const Expect& e : expected)
        EXPECT_EQ(bmp->at(e.x, e.y), e.index) << "(" << e.x << "," << e.y << ")";
}

TEST_F(PictureBuilder, UnchangedOutputsAreNotRewritten) {
    std::string output;
    ASSERT_EQ(build(output), 0) << output;
    const fs::path chr = root_ / "game" / "chr.bmp";
    const auto before = fs::last_write_time(chr);
    fs::last_write_time(chr, before - std::chrono::hours(1));
    ASSERT_EQ(build(output), 0) << output;
    EXPECT_EQ(fs::last_write_time(chr), before - std::chrono::hours(1));
}

TEST_F(PictureBuilder, ReportsBrokenSourcesWithTheirPlace) {
    struct Case {
        const char* name;
        const char* file;
        const char* text;
        const char* expected;
    } cases[] = {
        {"char not in legend", "pictures/beam/b.txt",
         "sheet beam.bmp 64 64\nlegend\nx ink\nend\nart 0 0\nxx\nxq\n", "b.txt:7: 'q'"},
        {"pixel off the sheet", "pictures/beam/b.txt",
         "sheet beam.bmp 64 64\nlegend\nx ink\nend\nart 62 0\nxxx\n", "b.txt:6: pixel (64,0)"},
        {"unknown directive", "pictures/beam/b.txt", "sheet beam.bmp 64 64\nblit 0 0\n",
         "b.txt:2: unknown directive"},
        {"unknown colour", "pictures/beam/b.txt", "sheet beam.bmp 64 64\nfill 0 0 1 1 mauve\n",
         "b.txt:2: 'mauve'"},
        {"copy off the sheet", "pictures/beam/b.txt", "sheet beam.bmp 64 64\ncopy 0 0 8 8 60 0\n",
         "b.txt:2: copy target"},
        {"sizes disagree", "pictures/beam/b.txt", "sheet beam.bmp 32 32\n",
         "b.txt:1: sheet beam.bmp 32x32"},
        {"wrong sheet size", "pictures/beam/a.txt", "sheet beam.bmp 32 32\nfill 0 0 1 1 ink\n",
         "must make beam.bmp 64x64"},
        {"legend left open", "pictures/beam/b.txt", "sheet beam.bmp 64 64\nlegend\nx ink\n",
         "legend block is not closed"},
        {"palette gap", "pictures/palette.txt", "0 clear 000000\n", "index 1 is missing"},
        {"frame not in PAT", "dat/e00.dat",
         "[GENERAL]\r\nNAME=a\r\nSIZE=16,16\r\nYASE=2\r\n[PAT]\r\n00=0,0\r\n"
         "[LINE]\r\n00=0100,Y,00,01;\r\n",
         "e00.dat:8: frame 1"},
        {"unterminated line", "dat/e00.dat",
         "[GENERAL]\r\nNAME=a\r\nSIZE=16,16\r\nYASE=2\r\n[PAT]\r\n00=0,0\r\n"
         "[LINE]\r\n00=0100,Y,00\r\n",
         "e00.dat:8:"},
        {"empty frame", "dat/e00.dat",
         "[GENERAL]\r\nNAME=a\r\nSIZE=16,16\r\nYASE=2\r\n[PAT]\r\n00=64,64\r\n"
         "[LINE]\r\n00=0100,Y,00;\r\n",
         "e00.dat:6: frame rectangle holds no pixels"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        write(c.file, c.text);
        std::string output;
        EXPECT_NE(build(output), 0);
        EXPECT_NE(output.find(c.expected), std::string::npos) << output;
    }
}

TEST_F(PictureBuilder, MissingSheetFolderIsAnError) {
    fs::remove_all(root_ / "assets" / "pictures" / "tt");
    std::string output;
    EXPECT_NE(build(output), 0);
    EXPECT_NE(output.find("tt.bmp"), std::string::npos) << output;
}

} // namespace
