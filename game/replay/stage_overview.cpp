#include "replay/stage_overview.h"

#include "platform/display.h"
#include "platform/palette.h"
#include "platform/paths.h"
#include "replay/stage_start.h"
#include "shell/scenes.h"
#include "stage/stage_file.h"
#include "world/object_update.h"
#include "world/player.h"
#include "world/world.h"

#include <algorithm>
#include <cstring>

namespace {

// The game takes a stage index's low byte: a file's further stages are out of reach.
constexpr int STAGE_LIMIT = 256;

// A stray object far out would otherwise ask for gigabytes; 4096 cells,
// some 230 screens, is far beyond any stage meant to be played.
constexpr int WIDTH_LIMIT = 65536;

// Each strip is drawn this far inside the back buffer, so that whatever
// reaches into it starts right of the buffer's left edge: positions are
// truncated towards zero, and a chain link left of the edge would land a
// pixel away from where the strip beside it shows it.
constexpr int STRIP_MARGIN = 128;
static_assert(STRIP_MARGIN + SCREEN_WIDTH <= DISPLAY_WIDTH);

// The world as it stands with the camera at cameraX, in the order a frame of
// play draws it, and nothing moved: enemies are drawn without their step, the
// player without its animation, objects as copies (drawing moves an emerging
// object on). The HUD and the fade are the scene's, drawn after the world.
void drawWorldAt(double cameraX) {
    world.cameraX = cameraX;
    fillBackBuffer(stageClearColour());
    for (const MapObject& object : world.objects) {
        if (!objectDrawn(object)) continue;
        MapObject copy = object;
        drawObject(copy);
    }
    for (const Enemy& enemy : world.enemies)
        if (enemy.active) drawEnemy(enemy);
    drawPlayer();
}

// Strips of one screen's width side by side, each the screen the player
// would see with the camera at the strip's left edge. The camera, the player
// and the back buffer are left as they were, so play could go on from there.
std::vector<uint8_t> drawStrips(int width) {
    std::vector<uint8_t> indices(size_t(width) * SCREEN_HEIGHT);
    const double camera = world.cameraX;
    const std::vector<uint8_t> backPixels = backBuffer().pixels;
    // The player as it stands at the start once the entry is over: the
    // entry's first frame is a mere sparkle.
    const Player loaded = player;
    player.animator.selectLine(LINE_STANDING, player.animator.changedAt);
    const Surface& back = backBuffer();
    for (int left = 0; left < width; left += SCREEN_WIDTH) {
        drawWorldAt(left - STRIP_MARGIN);
        const int columns = std::min(SCREEN_WIDTH, width - left);
        for (int y = 0; y < SCREEN_HEIGHT; ++y)
            std::memcpy(&indices[size_t(y) * size_t(width) + size_t(left)],
                        back.row(y) + STRIP_MARGIN, size_t(columns));
    }
    world.cameraX = camera;
    player = loaded;
    backBuffer().pixels = backPixels;
    return indices;
}

std::vector<uint8_t> inColour(const std::vector<uint8_t>& indices) {
    std::vector<uint8_t> rgb;
    rgb.reserve(indices.size() * 3);
    for (uint8_t index : indices) {
        const PaletteEntry& entry = workingPalette[index];
        rgb.insert(rgb.end(), {entry.red, entry.green, entry.blue});
    }
    return rgb;
}

std::string missingStageError(const std::string& stageFile, int stageIndex) {
    if (!readStageFile(stageFile, stageIndex).opened)
        return "cannot read the stage file " + stageFile;
    return stageFile + " has no stage " + std::to_string(stageIndex);
}

} // namespace

uint32_t StageOverview::pixel(int x, int y) const {
    const size_t at = (size_t(y) * size_t(width) + size_t(x)) * 3;
    return uint32_t(rgb[at]) << 16 | uint32_t(rgb[at + 1]) << 8 | rgb[at + 2];
}

StageOverview drawStageOverview(const std::string& gameFolder, const std::string& stageFile,
                                int stageIndex) {
    StageOverview overview;
    if (stageIndex < 0 || stageIndex >= STAGE_LIMIT) {
        overview.error = "the stage index counts from 0 to " + std::to_string(STAGE_LIMIT - 1);
        return overview;
    }
    InFolder folder(gameFolder);
    if (!folder.changed()) {
        overview.error = "cannot enter the game folder";
        return overview;
    }
    switch (startAtStage(gameFolder, stageFile, stageIndex)) {
    case StageStart::Started:
        break;
    case StageStart::GameFailed:
        overview.error = "the game could not start in its folder";
        return overview;
    case StageStart::StageMissing:
        overview.error = missingStageError(stageFile, stageIndex);
        return overview;
    }
    const int width = std::max(SCREEN_WIDTH, int(world.stageRightEdge));
    if (width > WIDTH_LIMIT) {
        overview.error = "the stage is " + std::to_string(width) +
                         " pixels wide; overviews stop at " + std::to_string(WIDTH_LIMIT);
        return overview;
    }
    overview.width = width;
    overview.height = SCREEN_HEIGHT;
    overview.rgb = inColour(drawStrips(overview.width));
    return overview;
}

int countStages(const std::string& gameFolder, const std::string& stageFile) {
    std::string executable = gameFolder;
    if (!executable.empty() && executable.back() != '/') executable += '/';
    setGameFolderFromExecutable(executable + "velta");
    int count = 0;
    for (; count < STAGE_LIMIT; ++count) {
        const StageRead stage = readStageFile(stageFile, count);
        if (!stage.opened) return -1;
        if (!stage.met) break;
    }
    return count;
}
