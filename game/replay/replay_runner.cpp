#include "replay/replay_runner.h"

#include "platform/headless/headless.h"
#include "platform/headless/picture_file.h"
#include "platform/input.h"
#include "replay/stage_start.h"
#include "shell/scene_machine.h"
#include "shell/startup.h"
#include "stage/stage_loader.h"
#include "world/player.h"
#include "world/world.h"

#include <cstdio>

namespace {

constexpr int EXTRA_FRAMES = 600; // ten seconds at the backend's 16 ms a frame

void saveFrame(const ReplayOptions& options, int frame, ReplayResult& result) {
    for (const auto& [number, file] : options.savedFrames) {
        if (number != frame) continue;
        const headless::Picture picture = headless::shownPicture();
        if (writePicture(file, picture.width, picture.height, picture.rgb))
            result.savedPictures.push_back(file);
    }
}

} // namespace

void holdButtons(uint8_t buttons) {
    for (int button = BUTTON_UP; button <= BUTTON_C; ++button)
        headless::setKey(input.code(button), (buttons >> button) & 1);
}

ReplayResult runReplay(const ReplayOptions& options) {
    ReplayResult result;
    InFolder folder(options.gameFolder);
    if (!folder.changed()) return result;
    result.started = startAtStage(options.gameFolder, options.stageFile, options.stageIndex) ==
                     StageStart::Started;
    if (!result.started) return result;
    const int frames =
        options.frames >= 0 ? options.frames : options.script.lastFrame() + 1 + EXTRA_FRAMES;
    bool wasDying = false;
    bool goalSeen = false;
    int lastDamage = player.damage;
    for (int frame = 0; frame < frames; ++frame) {
        holdButtons(options.script.buttonsAt(frame));
        if (!framePass()) {
            result.closed = true;
            break;
        }
        result.frames = frame + 1;
        saveFrame(options, frame, result);
        if (options.afterFrame) options.afterFrame(frame);
        if (world.dyingFlag && !wasDying) ++result.livesLost;
        wasDying = world.dyingFlag;
        if (player.damage > lastDamage) ++result.hitsTaken;
        lastDamage = player.damage;
        if (world.clearedFlag && !goalSeen) {
            goalSeen = true;
            result.goalFrame = frame;
        }
        // The clear sequence ends with the next stage loaded or the ending.
        if (goalSeen && result.clearFrame < 0 &&
            (!world.clearedFlag || sceneNumber == SCENE_ENDING)) {
            result.clearFrame = frame;
            result.ending = sceneNumber == SCENE_ENDING;
        }
        if (sceneNumber == SCENE_GAME_OVER) result.gameOver = true;
        if (result.gameOver || (options.untilClear && result.clearFrame >= 0)) break;
    }
    holdButtons(0);
    result.lives = player.lives;
    result.score = player.score;
    result.totalScore = world.totalScore;
    result.stageIndex = currentStageIndex();
    result.x = player.x;
    result.y = player.y;
    return result;
}

std::string describeReplay(const ReplayResult& result) {
    if (!result.started) return "stage: could not be loaded\n";
    auto frameOf = [](int frame) {
        return frame < 0 ? std::string("no") : "yes, frame " + std::to_string(frame);
    };
    char position[64];
    std::snprintf(position, sizeof position, "x %.1f y %.1f", result.x, result.y);
    std::string text;
    text += "frames: " + std::to_string(result.frames) + "\n";
    text += "goal reached: " + frameOf(result.goalFrame) + "\n";
    text += "stage cleared: " + frameOf(result.clearFrame) +
            (result.ending ? " (the ending)" : "") + "\n";
    text += "lives lost: " + std::to_string(result.livesLost) +
            (result.gameOver ? " (game over)" : "") + "\n";
    text += "hits taken: " + std::to_string(result.hitsTaken) + "\n";
    text += "lives: " + std::to_string(result.lives) + "\n";
    text += "score: " + std::to_string(result.score) + "\n";
    text += "total score: " + std::to_string(result.totalScore) + "\n";
    text += "stage index: " + std::to_string(result.stageIndex) + "\n";
    text += std::string("player: ") + position + "\n";
    for (const std::string& file : result.savedPictures)
        text += "saved: " + file + "\n";
    return text;
}
