#include "platform/display.h"

#include "platform/loaders/picture_loader.h"
#include "platform/palette.h"
#include "platform/paths.h"
#include "platform/sheets.h"

#include <cstring>
#include <utility>

namespace {

platform::DisplayOptions displayOptions;
bool started = false;
bool flipMode = false;
Surface primary;
Surface back;
int targetSheet = -1;

// The part of the primary that holds the picture: the logical screen at the
// view position, or the whole display after a flip.
platform::DisplayRect shownRect() {
    if (flipMode) return {0, 0, DISPLAY_WIDTH, DISPLAY_HEIGHT};
    return {VIEW_X, VIEW_Y, SCREEN_WIDTH, SCREEN_HEIGHT};
}

} // namespace

bool loadWindowIcon(const std::string& fileName) {
    RgbPicture picture;
    if (!loadRgbPicture(resolvePath(fileName), picture)) return false;
    platform::WindowIcon icon;
    icon.width = picture.width;
    icon.height = picture.height;
    icon.pixels.reserve(picture.pixels.size());
    // Palette entry 0, the sheets' transparent black, is the only pure black.
    for (uint32_t rgb : picture.pixels)
        icon.pixels.push_back(rgb == 0 ? 0 : 0xFF000000u | rgb);
    platform::setWindowIcon(icon);
    return true;
}

void setDisplayOptions(const platform::DisplayOptions& options) {
    displayOptions = options;
}

int startVideo(int width, int height) {
    if (!platform::openDisplay(displayOptions, shownRect())) return 0;
    primary = Surface(width, height);
    back = Surface(width, height);
    showWorkingPalette();
    clearSheetTable();
    targetSheet = -1;
    started = true;
    return 1;
}

bool videoStarted() {
    return started;
}

void releaseVideo() {
    clearSheetTable();
    if (started) platform::closeDisplay();
    started = false;
}

Surface& backBuffer() {
    return back;
}
Surface& primarySurface() {
    return primary;
}

void setPageFlipMode(bool on) {
    flipMode = on;
}
bool pageFlipMode() {
    return flipMode;
}

int shownPictureX() {
    return flipMode ? 0 : VIEW_X;
}
int shownPictureY() {
    return flipMode ? 0 : VIEW_Y;
}

void setDrawingTarget(int sheet) {
    if (sheet >= 0) targetSheet = sheet;
}

void resetDrawingTarget() {
    targetSheet = -1;
}

int drawingTargetSheet() {
    return targetSheet;
}

Surface& drawingTarget() {
    if (targetSheet >= 0) {
        if (Surface* s = sheetSurface(targetSheet)) return *s;
        // A target slot without a surface: drawing goes nowhere visible.
        static Surface nowhere;
        return nowhere;
    }
    return back;
}

void fillBackBuffer(uint8_t index) {
    back.fill(index);
}

void present(int clearFlag, uint8_t fillColour) {
    if (flipMode) {
        // A flip exchanges the two buffers: the next frame starts on the old picture.
        std::swap(primary.pixels, back.pixels);
    } else {
        for (int y = 0; y < SCREEN_HEIGHT && VIEW_Y + y < primary.height; ++y)
            std::memcpy(primary.row(VIEW_Y + y) + VIEW_X, back.row(y), SCREEN_WIDTH);
    }
    if (!primary.pixels.empty())
        platform::showFrame(primary.pixels.data(), primary.pitch, shownRect(), displayPalette());
    if (clearFlag == 1) back.fill(fillColour);
}

void restoreAfterReactivation() {
    // Our surfaces live in memory and are never lost; only the frame is redone.
    present(1, 0);
}
