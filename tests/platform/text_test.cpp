#include "formats/shift_jis.h"
#include "platform/blit.h"
#include "platform/display.h"
#include "platform/loaders/font_rasteriser.h"
#include "platform/palette.h"
#include "platform/sheets.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr uint8_t BACKGROUND = 200;
constexpr int CELL_SHEET = SHEET_EFFECT;

// Sheet 7 with every sprite glyph cell filled with glyph + 1 and every digit
// cell with 100 + digit, so that a copied pixel tells which cell it came from.
void buildFixtureEffectSheet() {
    createBlankSheet(CELL_SHEET, 256, 256);
    Surface& sheet = *sheetSurface(CELL_SHEET);
    for (int glyph = 0; glyph <= 53; ++glyph) {
        int left = (glyph % 32) * 8;
        int top = 240 + (glyph / 32) * 8;
        for (int y = top; y < top + 8; ++y) {
            std::fill(sheet.row(y) + left, sheet.row(y) + left + 8, uint8_t(glyph + 1));
        }
    }
    for (int digit = 0; digit <= 9; ++digit) {
        for (int y = 232; y < 240; ++y) {
            std::fill(sheet.row(y) + 4 * digit, sheet.row(y) + 4 * digit + 4, uint8_t(100 + digit));
        }
    }
}

// A grey ramp with a dark blue and a white entry, so that the GDI colours of
// the game map to indices of their own.
void buildFixturePalette() {
    for (int i = 0; i < 256; ++i) {
        workingPalette[i] = PaletteEntry{uint8_t(i / 2), uint8_t(i / 2), uint8_t(i / 2), 0};
    }
    workingPalette[10] = PaletteEntry{0, 0, 0x80, 0};
    workingPalette[11] = PaletteEntry{0xFF, 0xFF, 0xFF, 0};
}

struct InkBox {
    int left = 1 << 30;
    int top = 1 << 30;
    int right = -1; // inclusive
    int bottom = -1;
    bool empty() const { return right < 0; }
};

InkBox findIndex(const Surface& surface, uint8_t index, int left = 0, int top = 0,
                 int right = DISPLAY_WIDTH, int bottom = DISPLAY_HEIGHT) {
    InkBox box;
    right = std::min(right, surface.width);
    bottom = std::min(bottom, surface.height);
    for (int y = std::max(top, 0); y < bottom; ++y) {
        for (int x = std::max(left, 0); x < right; ++x) {
            if (surface.at(x, y) == index) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    return box;
}

// Rows of the back buffer that hold ink, grouped into runs of adjacent rows.
int countInkedLineRuns(uint8_t ink, int left, int top, int right, int bottom) {
    int runs = 0;
    bool previous = false;
    for (int y = top; y < bottom; ++y) {
        bool inked = !findIndex(backBuffer(), ink, left, y, right, y + 1).empty();
        if (inked && !previous) {
            ++runs;
        }
        previous = inked;
    }
    return runs;
}

class TextTest : public testing::Test {
  protected:
    void SetUp() override {
        if (!videoStarted()) {
            ASSERT_EQ(startVideo(DISPLAY_WIDTH, DISPLAY_HEIGHT), 1);
        }
        buildFixturePalette();
        buildFixtureEffectSheet();
        resetDrawingTarget();
        backBuffer().fill(BACKGROUND);
        allocateFontDescription();
        white = nearestPaletteIndex(uint32_t(0xFFFFFF));
        blue = nearestPaletteIndex(uint32_t(0x800000));
    }
    void TearDown() override {
        endGdiText();
        resetDrawingTarget();
    }

    // The box holds exactly one colour.
    static void expectBlock(int x, int y, int width, int height, uint8_t index) {
        for (int py = y; py < y + height; ++py) {
            for (int px = x; px < x + width; ++px) {
                ASSERT_EQ(backBuffer().at(px, py), index) << "at " << px << "," << py;
            }
        }
    }

    void drawInBox(int height, int left, int top, int right, int bottom, const std::string& text,
                   int alignment) {
        beginGdiText(height);
        setTextColours(0xFFFFFF, 0, 1);
        textInBox(left, top, right, bottom, text.c_str(), alignment);
        endGdiText();
    }

    uint8_t white = 0;
    uint8_t blue = 0;
};

TEST(GlyphNumberTest, PositionInTheGlyphStringElse53) {
    const std::pair<char, int> cases[] = {
        {' ', 0},  {'A', 1},  {'Z', 26}, {'0', 27},  {'9', 36},    {'-', 37},
        {'s', 38}, {'h', 42}, {'!', 43}, {'e', 47},  {':', 50},    {'a', 51},
        {'?', 52}, {'b', 53}, {'S', 19}, {'\0', 53}, {'\x95', 53}, {'&', 53},
    };
    for (auto [c, glyph] : cases) {
        EXPECT_EQ(glyphNumber(c), glyph) << "character " << int(c);
    }
}

TEST_F(TextTest, SpriteTextPlacesEachCellAndBreaksLines) {
    struct Cell {
        int x, y, glyph;
    };
    struct Case {
        const char* text;
        int x, y;
        std::vector<Cell> cells;
    };
    const Case cases[] = {
        {"A\nB", 10, 20, {{10, 20, 1}, {10, 29, 2}}},
        {"b Z?", 3, 5, {{3, 5, 53}, {11, 5, 0}, {19, 5, 26}, {27, 5, 52}}},
        {"59a\n\nx", 40, 100, {{40, 100, 32}, {48, 100, 36}, {56, 100, 51}, {40, 118, 39}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        backBuffer().fill(BACKGROUND);
        spriteText(c.x, c.y, c.text);
        for (const Cell& cell : c.cells) {
            expectBlock(cell.x, cell.y, 8, 8, uint8_t(cell.glyph + 1));
        }
        // Nothing left of the first cell nor right of the last one.
        EXPECT_EQ(backBuffer().at(c.x - 1, c.y), BACKGROUND);
        const Cell& last = c.cells.back();
        EXPECT_EQ(backBuffer().at(last.x + 8, last.y), BACKGROUND);
    }
}

TEST_F(TextTest, DigitTextPutsEachDigitFivePixelsOn) {
    digitText(0, 0, 105);
    expectBlock(0, 0, 4, 8, 101);
    expectBlock(5, 0, 4, 8, 100);
    expectBlock(10, 0, 4, 8, 105);
    expectBlock(4, 0, 1, 8, BACKGROUND);
    expectBlock(9, 0, 1, 8, BACKGROUND);
    expectBlock(14, 0, 1, 8, BACKGROUND);
}

TEST_F(TextTest, SpriteAndDigitTextAreClippedToTheBackBuffer) {
    spriteText(636, 476, "AB\nCD");
    spriteText(-4, -4, "A");
    digitText(638, 100, 123456789);
    expectBlock(636, 476, 4, 4, 2);
    expectBlock(0, 0, 4, 4, 2);
    expectBlock(638, 100, 2, 8, 101);
}

TEST(FormatTextTest, BoundsTheSharedBufferAndAcceptsItsOwnResult) {
    std::string longText(3000, 'x');
    const char* result = formatText("%s%d", longText.c_str(), 7);
    EXPECT_EQ(std::strlen(result), 1023u);
    EXPECT_EQ(std::string(result, 10), "xxxxxxxxxx");

    formatText("cx%.2d  lx%.2d", 3, 9);
    EXPECT_STREQ(formatText("%s!", formatText("cx%.2d  lx%.2d", 3, 9)), "cx03  lx09!");
    EXPECT_STREQ(formatText("%.6d", 480), "000480");
}

TEST_F(TextTest, FontDescriptionHoldsEveryCreatedFont) {
    beginGdiText(24);
    const FontDescription* description = fontDescription();
    ASSERT_NE(description, nullptr);
    EXPECT_EQ(description->height, 24);
    EXPECT_EQ(description->weight, 400);
    EXPECT_EQ(description->charSet, 128);
    EXPECT_EQ(description->italic + description->underline + description->strikeOut, 0);
    EXPECT_STREQ(description->faceName, "\x95\x57\x8F\x80\x96\xBE\x92\xA9");
    endGdiText();

    beginGdiText(12, "Times");
    EXPECT_EQ(description->height, 12);
    EXPECT_STREQ(description->faceName, "Times");
    endGdiText();

    std::string longFace(100, 'F');
    beginGdiText(12, longFace.c_str());
    EXPECT_EQ(std::strlen(description->faceName), 31u);
    endGdiText();
}

TEST(FontRasteriserTest, FindsTheFacesThatStandInForTheGameFonts) {
    const std::pair<std::string, std::string> cases[] = {
        {"標準明朝", "IPAMincho"},
        {"Times", "Liberation Serif"},
        {"ＭＳ ゴシック", "IPAGothic"},
    };
    for (const auto& [face, family] : cases) {
        EXPECT_EQ(findFontFile(face).family, family) << face << " -> " << findFontFile(face).path;
    }
    // An unknown name still gets a face, one that can show Japanese.
    FontFile unknown = findFontFile("NoSuchFaceAnywhere");
    EXPECT_FALSE(unknown.path.empty());
    RasterFont* font = openRasterFont("NoSuchFaceAnywhere", 12);
    ASSERT_NE(font, nullptr);
    EXPECT_GT(measureRasterText(font, "日本"), 0);
}

TEST(FontRasteriserTest, CellHeightIsTheRequestedHeight) {
    for (const char* face : {"標準明朝", "Times"}) {
        for (int height : {12, 15, 24}) {
            SCOPED_TRACE(std::string(face) + " " + std::to_string(height));
            RasterFont* font = openRasterFont(face, height);
            ASSERT_NE(font, nullptr);
            EXPECT_EQ(openRasterFont(face, height), font);
            EXPECT_EQ(rasterCellHeight(font), height);
            CoverageMask mask = renderRasterText(font, "Mjgy|");
            ASSERT_GT(mask.width, 0);
            EXPECT_LE(mask.height, height);
            int firstRow = mask.height;
            int lastRow = -1;
            for (int y = 0; y < mask.height; ++y) {
                for (int x = 0; x < mask.width; ++x) {
                    if (mask.inked(x, y)) {
                        firstRow = std::min(firstRow, y);
                        lastRow = std::max(lastRow, y);
                    }
                }
            }
            // The ascenders and descenders fill most of the cell.
            EXPECT_GE(lastRow - firstRow + 1, height * 3 / 4);
        }
    }
}

TEST_F(TextTest, TextInBoxAlignsEachLine) {
    struct Case {
        int alignment;
        const char* where;
    };
    const Case cases[] = {{21, "left"}, {20, "right"}, {0, "centre"}, {1, "centre"}, {7, "centre"}};
    const int left = 100, top = 50, right = 300, bottom = 100;
    const int width = measureRasterText(openRasterFont("標準明朝", 24), "NOW LOADING...");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.alignment));
        backBuffer().fill(BACKGROUND);
        drawInBox(24, left, top, right, bottom, "NOW LOADING...", c.alignment);
        InkBox ink = findIndex(backBuffer(), white);
        ASSERT_FALSE(ink.empty());
        EXPECT_GE(ink.top, top);
        EXPECT_LT(ink.bottom, top + 24);
        EXPECT_GE(ink.left, left);
        EXPECT_LT(ink.right, right);

        // The same run drawn at the aligned position by itself.
        int start = c.where == std::string("left")    ? left
                    : c.where == std::string("right") ? right - width
                                                      : left + (right - left - width) / 2;
        backBuffer().fill(BACKGROUND);
        beginGdiText(24);
        setTextColours(0xFFFFFF, 0, 1);
        textOut(start, top, "NOW LOADING...");
        endGdiText();
        InkBox expected = findIndex(backBuffer(), white);
        EXPECT_EQ(ink.left, expected.left);
        EXPECT_EQ(ink.right, expected.right);
        EXPECT_EQ(ink.top, expected.top);
    }
    EXPECT_GT(width, 100);
}

TEST_F(TextTest, TextInBoxWrapsAtWordsAndBreaksWordsWiderThanTheBox) {
    struct Case {
        std::string text;
        int boxWidth;
        int minimumLines;
    };
    const Case cases[] = {
        {"THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG", 90, 3},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZ", 60, 4},
        {utf8ToSjis("日本語の文章は空白なしで折り返します"), 60, 3},
        {"ONE\nTWO\n\nFOUR", 200, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        backBuffer().fill(BACKGROUND);
        const int left = 20, top = 10, bottom = 300;
        drawInBox(15, left, top, left + c.boxWidth, bottom, c.text, ALIGN_LEFT);
        InkBox ink = findIndex(backBuffer(), white);
        ASSERT_FALSE(ink.empty());
        EXPECT_GE(ink.left, left);
        EXPECT_LT(ink.right, left + c.boxWidth);
        EXPECT_GE(countInkedLineRuns(white, 0, 0, DISPLAY_WIDTH, DISPLAY_HEIGHT), c.minimumLines);
    }
}

TEST_F(TextTest, TextInBoxKeepsWholeWordsTogether) {
    // Each word is drawn alone in a box one word wide; the words must come
    // out as the same picture as when drawn alone.
    beginGdiText(15);
    setTextColours(0xFFFFFF, 0, 1);
    textOut(0, 0, "QUICK");
    endGdiText();
    InkBox alone = findIndex(backBuffer(), white, 0, 0, 320, 20);
    ASSERT_FALSE(alone.empty());
    backBuffer().fill(BACKGROUND);
    drawInBox(15, 0, 0, alone.right + 4, 200, "QUICK QUICK", ALIGN_LEFT);
    EXPECT_EQ(countInkedLineRuns(white, 0, 0, 320, 200), 2);
    InkBox second = findIndex(backBuffer(), white, 0, 15, 320, 30);
    EXPECT_EQ(second.right - second.left, alone.right - alone.left);
}

TEST_F(TextTest, AmpersandIsDrawnAsACharacter) {
    drawInBox(24, 0, 0, 320, 30, "AB", ALIGN_LEFT);
    InkBox plain = findIndex(backBuffer(), white);
    backBuffer().fill(BACKGROUND);
    drawInBox(24, 0, 0, 320, 30, "A&B", ALIGN_LEFT);
    InkBox withAmpersand = findIndex(backBuffer(), white);
    EXPECT_GT(withAmpersand.right - withAmpersand.left, plain.right - plain.left + 8);
}

TEST_F(TextTest, TextInBoxIsClippedToTheBox) {
    const int left = 50, top = 40, right = 110, bottom = 60;
    drawInBox(24, left, top, right, bottom, "WIDE WIDE WIDE WIDE WIDE", ALIGN_CENTRE);
    InkBox ink = findIndex(backBuffer(), white);
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.left, left);
    EXPECT_GE(ink.top, top);
    EXPECT_LT(ink.right, right);
    EXPECT_LT(ink.bottom, bottom);
}

TEST_F(TextTest, OpaqueTextFillsItsCellTransparentTextDoesNot) {
    for (int transparent : {0, 1}) {
        SCOPED_TRACE(transparent);
        backBuffer().fill(BACKGROUND);
        beginGdiText(12);
        setTextColours(0xFFFFFF, 0x800000, transparent);
        textOut(30, 40, "AB");
        endGdiText();
        InkBox ink = findIndex(backBuffer(), white);
        ASSERT_FALSE(ink.empty());
        InkBox fill = findIndex(backBuffer(), blue);
        if (transparent) {
            EXPECT_TRUE(fill.empty());
        } else {
            ASSERT_FALSE(fill.empty());
            EXPECT_EQ(fill.left, 30);
            EXPECT_EQ(fill.top, 40);
            EXPECT_EQ(fill.bottom, 40 + 11);
            // Every pixel of the cell is text or background.
            for (int y = 40; y < 52; ++y) {
                for (int x = 30; x <= fill.right; ++x) {
                    uint8_t pixel = backBuffer().at(x, y);
                    ASSERT_TRUE(pixel == white || pixel == blue) << x << "," << y;
                }
            }
        }
    }
}

TEST_F(TextTest, DebugTextIsWhiteOnDarkBlueAndBounded) {
    std::string longText(600, 'W');
    debugText(0, 244, "FPS %d  JumpFlag %d  MISS %d %s", 60, 1, 2, longText.c_str());
    InkBox fill = findIndex(backBuffer(), blue);
    ASSERT_FALSE(fill.empty());
    EXPECT_EQ(fill.left, 0);
    EXPECT_EQ(fill.top, 244);
    EXPECT_EQ(fill.bottom, 255);
    EXPECT_EQ(fill.right, DISPLAY_WIDTH - 1);
    EXPECT_FALSE(findIndex(backBuffer(), white, 0, 244, 100, 256).empty());
}

TEST_F(TextTest, GdiTextNeverWritesOutsideItsTarget) {
    // A small sheet as the target: text running over every edge.
    createBlankSheet(SHEET_SNAPSHOT, 40, 20);
    setDrawingTarget(SHEET_SNAPSHOT);
    beginGdiText(24);
    setTextColours(0xFFFFFF, 0x800000, 0);
    textOut(-10, -10, "WWWWWWWW");
    textOut(30, 12, "WWWWWWWW");
    textInBox(-100, -100, 1000, 1000, "WWW WWW WWW WWW WWW", ALIGN_RIGHT);
    textOut(2000000000, 2000000000, "W");
    textInBox(-2000000000, 5, 2000000000, 2000000000, "W", ALIGN_CENTRE);
    endGdiText();
    resetDrawingTarget();
    EXPECT_FALSE(findIndex(*sheetSurface(SHEET_SNAPSHOT), white).empty());
    EXPECT_TRUE(findIndex(backBuffer(), white).empty());
    EXPECT_TRUE(findIndex(backBuffer(), blue).empty());

    backBuffer().fill(BACKGROUND);
    beginGdiText(24);
    setTextColours(0xFFFFFF, 0x800000, 0);
    textOut(620, 470, "WWWW");
    textOut(-15, -15, "WWWW");
    endGdiText();
    EXPECT_EQ(findIndex(backBuffer(), blue).bottom, DISPLAY_HEIGHT - 1);
    EXPECT_EQ(findIndex(backBuffer(), blue).top, 0);
}

TEST(ShiftJisTest, RoundTripsTheTextsWindowsWrites) {
    struct Case {
        std::string utf8;
        std::string sjis;
    };
    const Case cases[] = {
        {"標準明朝", "\x95\x57\x8F\x80\x96\xBE\x92\xA9"},
        {"致命的なｴﾗｰ", "\x92\x76\x96\xBD\x93\x49\x82\xC8\xB4\xD7\xB0"},
        {"髙", "\xFB\xFC"},
        {"～", "\x81\x60"},
        {"NOW LOADING...\n", "NOW LOADING...\n"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(utf8ToSjis(c.utf8), c.sjis);
        EXPECT_EQ(sjisToUtf8(c.sjis), c.utf8);
    }
}

TEST(ShiftJisTest, ReplacesWhatCannotBeConverted) {
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(sjisToUtf8("A\xFF!"), "A" + replacement + "!");
    EXPECT_EQ(sjisToUtf8("AB\x82"), "AB" + replacement);
    EXPECT_EQ(utf8ToSjis("A😀B"), "A?B");
    EXPECT_EQ(utf8ToSjis("A\xC3!"), "A?!");
    std::string noise;
    for (int i = 0; i < 4096; ++i) {
        noise += char((i * 7919) & 0xFF);
    }
    EXPECT_FALSE(sjisToUtf8(noise).empty());
    EXPECT_FALSE(utf8ToSjis(noise).empty());
}

} // namespace
