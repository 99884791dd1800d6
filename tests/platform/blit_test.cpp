// Blits, software copies, shapes and the present.
#include "platform/blit.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/palette.h"
#include "platform/sheets.h"
#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace {

class Blits : public testing::Test {
  protected:
    void SetUp() override {
        headless::resetAll();
        setPageFlipMode(false);
        ASSERT_EQ(startVideo(DISPLAY_WIDTH, DISPLAY_HEIGHT), 1);
        const std::vector<Rgb> colours = testPalette();
        for (int i = 0; i < 256; ++i)
            workingPalette[i] = {colours[size_t(i)].red, colours[size_t(i)].green,
                                 colours[size_t(i)].blue, 0};
        applyPaletteRange(0, 256);
        // Sheet 1: a 16x16 cell at (0, 0) whose pixel (c, r) is 1 + c + 16 r,
        // with a transparent pixel at (3, 3).
        createBlankSheet(SHEET_MAPOBJ, 256, 256);
        Surface& sheet = *sheetSurface(SHEET_MAPOBJ);
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 16; ++c)
                sheet.row(r)[c] = uint8_t(1 + c + 16 * r);
        sheet.row(3)[3] = 0;
        backBuffer().fill(200);
    }
    void TearDown() override {
        resetDrawingTarget();
        releaseVideo();
    }
    static uint8_t back(int x, int y) { return backBuffer().at(x, y); }
};

} // namespace

TEST_F(Blits, KeyedBlitClipsAgainstTheDisplayAndSkipsIndexZero) {
    keyedBlit(-5, 0, SHEET_MAPOBJ, 0, 0, 16, 16);
    for (int x = 0; x <= 10; ++x)
        EXPECT_EQ(back(x, 0), 1 + x + 5) << x;
    EXPECT_EQ(back(11, 0), 200);

    keyedBlit(630, 20, SHEET_MAPOBJ, 0, 0, 16, 16);
    for (int x = 630; x < 640; ++x)
        EXPECT_EQ(back(x, 20), 1 + (x - 630)) << x;

    backBuffer().fill(200);
    keyedBlit(640, 40, SHEET_MAPOBJ, 0, 0, 16, 16);
    keyedBlit(0, 480, SHEET_MAPOBJ, 0, 0, 16, 16);
    keyedBlit(-16, 40, SHEET_MAPOBJ, 0, 0, 16, 16);
    EXPECT_EQ(std::count(backBuffer().pixels.begin(), backBuffer().pixels.end(), 200),
              long(DISPLAY_WIDTH * DISPLAY_HEIGHT));

    keyedBlit(100, 100, SHEET_MAPOBJ, 0, 0, 16, 16);
    EXPECT_EQ(back(103, 103), 200); // transparent pixel
    EXPECT_EQ(back(104, 103), 1 + 4 + 48);
}

TEST_F(Blits, OpaqueBlitCopiesIndexZero) {
    opaqueBlit(100, 100, SHEET_MAPOBJ, 0, 0, 16, 16);
    EXPECT_EQ(back(103, 103), 0);
}

TEST_F(Blits, SourceOutsideTheSheetDrawsNothing) {
    keyedBlit(0, 0, SHEET_MAPOBJ, 250, 0, 266, 16);
    keyedBlit(0, 0, 13, 0, 0, 16, 16); // empty slot
    EXPECT_EQ(back(0, 0), 200);
}

TEST_F(Blits, DrawingBelowTheLogicalScreenIsNotShown) {
    keyedBlit(0, 300, SHEET_MAPOBJ, 0, 0, 16, 16);
    EXPECT_EQ(back(0, 300), 1);
    present(1, 0);
    const auto& shown = headless::lastFrameIndices();
    // The logical screen sits at (176, 112) of the display: row 300 would be
    // display row 412, which normal presentation never touches.
    EXPECT_EQ(shown[size_t(412) * DISPLAY_WIDTH + 176], 0);
    EXPECT_EQ(shown[size_t(112) * DISPLAY_WIDTH + 176], 200);
}

TEST_F(Blits, PresentNamesThePartOfTheDisplayThatHoldsThePicture) {
    present(1, 0);
    EXPECT_EQ(headless::lastFramePicture(), (platform::DisplayRect{176, 112, 288, 256}));
    const headless::Picture picture = headless::shownPicture();
    EXPECT_EQ(picture.width, 288);
    EXPECT_EQ(picture.height, 256);
    setPageFlipMode(true);
    present(1, 0);
    EXPECT_EQ(headless::lastFramePicture(), (platform::DisplayRect{0, 0, 640, 480}));
    setPageFlipMode(false);
}

TEST_F(Blits, PresentClearsOnlyWithClearFlagOne) {
    keyedBlit(0, 0, SHEET_MAPOBJ, 0, 0, 16, 16);
    present(0, 0);
    EXPECT_EQ(back(0, 0), 1);
    present(2, 0);
    EXPECT_EQ(back(0, 0), 1);
    present(1, 135);
    EXPECT_EQ(back(0, 0), 135);
    EXPECT_EQ(back(639, 479), 135);
}

TEST_F(Blits, PageFlipShowsTheWholeBackBufferAndSwaps) {
    setPageFlipMode(true);
    keyedBlit(600, 400, SHEET_MAPOBJ, 0, 0, 16, 16);
    present(0, 0);
    EXPECT_EQ(headless::lastFrameIndices()[size_t(400) * DISPLAY_WIDTH + 600], 1);
    setPageFlipMode(false);
}

TEST_F(Blits, FlippedCellCopyModes) {
    const struct {
        int mode, x, y;
    } cases[] = {{FLIP_LEFT_RIGHT, 15, 0}, {FLIP_UPSIDE_DOWN, 0, 15}, {FLIP_BOTH, 15, 15}};
    for (const auto& c : cases) {
        createBlankSheet(SHEET_PLAYER_MIRROR, 256, 256);
        setDrawingTarget(SHEET_PLAYER_MIRROR);
        EXPECT_EQ(flippedCellCopy(0, 0, SHEET_MAPOBJ, 0, 0, 16, 16, c.mode, -1), 1);
        resetDrawingTarget();
        const Surface& mirror = *sheetSurface(SHEET_PLAYER_MIRROR);
        EXPECT_EQ(mirror.at(c.x, c.y), 1) << "mode " << c.mode; // source pixel (0, 0)
        // With key -1 even index 0 is copied: source (3, 3) lands mirrored.
        const int zx = c.mode == FLIP_UPSIDE_DOWN ? 3 : 12;
        const int zy = c.mode == FLIP_LEFT_RIGHT ? 3 : 12;
        EXPECT_EQ(mirror.at(zx, zy), 0) << "mode " << c.mode;
    }
}

TEST_F(Blits, FlippedCellCopyOntoItsOwnSheetDoesNothing) {
    setDrawingTarget(SHEET_MAPOBJ);
    EXPECT_EQ(flippedCellCopy(32, 0, SHEET_MAPOBJ, 0, 0, 16, 16, FLIP_LEFT_RIGHT, -1), 0);
    resetDrawingTarget();
    EXPECT_EQ(sheetSurface(SHEET_MAPOBJ)->at(47, 0), 0);
}

TEST_F(Blits, HalfBlendAveragesIndicesAndSkipsTheKey) {
    Surface& sheet = *sheetSurface(SHEET_MAPOBJ);
    sheet.row(20)[0] = 10;
    sheet.row(20)[1] = 0;
    backBuffer().fill(3);
    EXPECT_EQ(halfBlendBlit(50, 60, SHEET_MAPOBJ, 0, 20, 2, 21, 0), 1);
    EXPECT_EQ(back(50, 60), 6);
    EXPECT_EQ(back(51, 60), 3); // key 0 skipped
    EXPECT_EQ(halfBlendBlit(50, 61, SHEET_MAPOBJ, 0, 20, 2, 21, -1), 1);
    EXPECT_EQ(back(51, 61), 1); // (3 + 0) / 2
}

TEST_F(Blits, ScreenCaptureCopiesTheBackBufferIntoASheet) {
    createBlankSheet(SHEET_SNAPSHOT, 288, 256);
    backBuffer().fill(135);
    backBuffer().row(255)[287] = 7;
    screenCaptureBlit(0, 0, SHEET_SNAPSHOT, 0, 0, 288, 256);
    EXPECT_EQ(sheetSurface(SHEET_SNAPSHOT)->at(0, 0), 135);
    EXPECT_EQ(sheetSurface(SHEET_SNAPSHOT)->at(287, 255), 7);
}

TEST_F(Blits, ScaledKeyedBlitSquashesACell) {
    scaledKeyedBlit(10, 10, SHEET_MAPOBJ, 0, 0, 16, 16, 16, 4);
    EXPECT_EQ(back(10, 10), 1);                                    // row 0
    EXPECT_EQ(back(10, 11), 1 + 64);                               // row 4
    EXPECT_EQ(back(10, 14), 200);                                  // below the 4 rows
    scaledKeyedBlit(630, 470, SHEET_MAPOBJ, 0, 0, 16, 16, 32, 32); // never outside the buffer
}

TEST_F(Blits, ShapesOfTheConfirmationBoxAndTheSelectionLine) {
    backBuffer().fill(135);
    drawRectangle(64, 96, 224, 160, 0x000000, 0x0000FF, 2);
    EXPECT_EQ(back(144, 128), 0);  // filled black
    EXPECT_EQ(back(64, 128), 252); // 0x0000FF is pure red as 0x00bbggrr
    EXPECT_EQ(back(223, 128), 252);
    EXPECT_EQ(back(61, 128), 135); // outside the pen
    backBuffer().fill(135);
    drawLine(149, 35, 149, 246, 0x0000FF, 2);
    EXPECT_EQ(back(148, 100), 252);
    EXPECT_EQ(back(149, 100), 252);
    EXPECT_EQ(back(150, 100), 135);
    EXPECT_EQ(back(149, 33), 135);
    EXPECT_EQ(back(149, 248), 135);
}

TEST_F(Blits, PositionsAndRectanglesAtTheEndsOfIntDrawNothingAndWriteNowhere) {
    constexpr int MAX = std::numeric_limits<int>::max(), MIN = std::numeric_limits<int>::min();
    // clang-format off
    const struct { int x, y, left, top, right, bottom; } cases[] = {
        {MAX,      0,        0,   0,   16,  16},
        {MAX - 15, 0,        0,   0,   16,  16},
        {0,        MAX - 15, 0,   0,   16,  16},
        {MAX - 15, MAX - 15, 0,   0,   16,  16},
        {MIN,      0,        0,   0,   16,  16},
        {0,        MIN,      0,   0,   16,  16},
        {100,      100,      MIN, 0,   MAX, 16},
        {100,      100,      0,   MIN, 16,  MAX},
        {-5,       100,      MAX - 2, 0, MAX, 16},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << ": " << c.left << ", " << c.top
                                        << ", " << c.right << ", " << c.bottom);
        keyedBlit(c.x, c.y, SHEET_MAPOBJ, c.left, c.top, c.right, c.bottom);
        opaqueBlit(c.x, c.y, SHEET_MAPOBJ, c.left, c.top, c.right, c.bottom);
        EXPECT_EQ(halfBlendBlit(c.x, c.y, SHEET_MAPOBJ, c.left, c.top, c.right, c.bottom, 0), 0);
        EXPECT_EQ(
            flippedCellCopy(c.x, c.y, SHEET_MAPOBJ, c.left, c.top, c.right, c.bottom, FLIP_BOTH, 0),
            0);
        scaledKeyedBlit(c.x, c.y, SHEET_MAPOBJ, c.left, c.top, c.right, c.bottom, 16, 4);
        EXPECT_EQ(std::count(backBuffer().pixels.begin(), backBuffer().pixels.end(), 200),
                  long(DISPLAY_WIDTH * DISPLAY_HEIGHT));
    }
}

TEST_F(Blits, ScaledBlitOfAHugeSizeDrawsOnlyWhatLandsOnTheDisplay) {
    scaledKeyedBlit(-1000000, 10, SHEET_MAPOBJ, 0, 0, 16, 16, 2000000, 4);
    EXPECT_NE(back(0, 10), 200);
    EXPECT_NE(back(DISPLAY_WIDTH - 1, 13), 200);
    EXPECT_EQ(back(0, 14), 200);
}

TEST(BlitCoordinate, PinsFarPositionsAndKeepsNearOnes) {
    EXPECT_EQ(blitCoordinate(0), 0);
    EXPECT_EQ(blitCoordinate(-12.75), -12);
    EXPECT_EQ(blitCoordinate(639.9), 639);
    EXPECT_EQ(blitCoordinate(4294967296.0), 1 << 20);
    EXPECT_EQ(blitCoordinate(-4294967296.0), -(1 << 20));
    EXPECT_EQ(blitCoordinate(std::numeric_limits<double>::quiet_NaN()), -(1 << 20));
    EXPECT_EQ(blitCoordinate(std::numeric_limits<double>::infinity()), 1 << 20);
}
