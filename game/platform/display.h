// The display: the primary (what the window shows), the back buffer every
// scene draws into, the drawing target, and the present that ends each frame.
//
// The primary is a 640x480 picture of palette indices; the top-left 288x256
// pixels of the back buffer are the logical screen, which the present shows
// at the view position in the middle of the display.
#pragma once

#include "platform/platform.h"
#include "platform/surface.h"

#include <cstdint>
#include <string>

constexpr int SCREEN_WIDTH = 288; // logical screen
constexpr int SCREEN_HEIGHT = 256;
constexpr int VIEW_X = DISPLAY_WIDTH / 2 - SCREEN_WIDTH / 2;   // 176
constexpr int VIEW_Y = DISPLAY_HEIGHT / 2 - SCREEN_HEIGHT / 2; // 112

// Window options from config.ini's [DISPLAY] section, before the display starts.
void setDisplayOptions(const platform::DisplayOptions& options);
// Gives the window the icon in the picture file (black is transparent, as on
// the sheets); false, and no icon, when the file cannot be read.
bool loadWindowIcon(const std::string& fileName);
// Display start; returns 1 on success, 0 when no display can be had.
int startVideo(int width, int height);
void releaseVideo();
bool videoStarted();

Surface& backBuffer();
Surface& primarySurface();

// Page-flip mode: the present shows the whole back buffer.
void setPageFlipMode(bool on);
bool pageFlipMode();
// Where the logical screen stands on the primary once presented: the view
// position, or the top-left corner in page-flip mode.
int shownPictureX();
int shownPictureY();

// Drawing target: the back buffer, or a sheet while mirrored cells are built.
void setDrawingTarget(int sheet);
void resetDrawingTarget();
Surface& drawingTarget();
int drawingTargetSheet(); // -1 for the back buffer

// End of frame: show the logical screen, then clear the back buffer when clearFlag is 1.
void present(int clearFlag, uint8_t fillColour);
// Fills the whole back buffer with one palette index.
void fillBackBuffer(uint8_t index);

void restoreAfterReactivation();
